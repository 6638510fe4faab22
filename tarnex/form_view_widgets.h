#pragma once
// The widgets a FormWidget builds beside Qt's own: group boxes with a coloured caption,
// frames that paint the form's drawings, captions that elide what their width cannot show,
// and the notes of a hint dialog set line by line as the Song face sets them.

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QScrollArea>
#include <map>
#include <memory>
#include <span>
#include <string>

#include "base/finding.h"
#include "forms/form.h"

namespace tarnex::qt {

class Drawing;

// A group box whose caption alone takes a colour: the rows inside keep the dialog's own
// colours without each carrying a palette of its own.
class CaptionBox : public QGroupBox {
 public:
  using QGroupBox::QGroupBox;
  void setCaptionColor(const QColor& color);

 protected:
  void initStyleOption(QStyleOptionGroupBox* option) const override;

 private:
  QColor captionColor_;
};

// A list of findings that scrolls: a failure in red behind "●", a warning in the windows'
// hint violet behind "▲", the rest behind "○"; `placeholder` greyed when there are none.
class FindingsList : public QScrollArea {
 public:
  explicit FindingsList(QWidget* parent);
  void showFindings(std::span<const Finding> findings, const QString& placeholder);
  QString text() const { return text_->text(); }

 private:
  QLabel* text_;
};

// The findings of the form's last calculation, or before one what the design check will list
// (`loop`: the checks of a designed loop rather than a circuit's).
QString checkPlaceholder(bool loop);

// The design check: the findings of the form's last calculation, or before one what it will
// list (`loop`: the checks of a designed loop rather than a circuit's). A failure shows in red,
// a warning in the windows' hint violet. Its size stays whatever a calculation finds; a longer
// list scrolls.
class DesignCheckBox : public CaptionBox {
 public:
  DesignCheckBox(bool loop, QWidget* parent);
  void showFindings(std::span<const Finding> findings);

 private:
  bool loop_;
  FindingsList* list_;
};

// A frame that holds pictures: the model says which drawings, which part of each (the
// source rectangle) and the frame they fill; each is stretched onto the frame.
class PictureWidget : public QFrame {
 public:
  // Paints the pictures of frame `frameId`, or only the drawing `only` among them.
  PictureWidget(Form& form, int frameId, bool framed, QWidget* parent, std::string only = {});

  int frameId() const { return frameId_; }
  // Whether it paints a single drawing of its frame (one that leads to a group).
  bool onlyDrawing() const { return !only_.empty(); }
  // The pixel width of the widest drawing this frame shows.
  int drawingWidth() const;
  // Width over height of the first picture this frame shows, or 16/9.
  double aspect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool shows(const Picture& p) const;
  // The drawings this window has shown stay loaded while it is open.
  const Drawing* drawing(const std::string& name);

  Form& form_;
  int frameId_;
  std::string only_;
  std::map<std::string, std::shared_ptr<const Drawing>> drawings_;
};

// A caption of one line that, given less width than its text needs (a long caption of an
// interface file on a small screen), ends in "…"; its text stays whole.
class CaptionLabel : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A text of several lines placed in its rectangle (a hint dialog's): wrapped within the width
// with lines as high as the font's pixel size, as the Song face sets them, so that as many
// lines fit into the rectangle as it was made for; the CJK faces that stand in for it would
// otherwise add half a line of leading to each. Blanks are kept: a run of them pushes the
// following words to the next line.
class PlacedNote : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent*) override;
};

}  // namespace tarnex::qt
