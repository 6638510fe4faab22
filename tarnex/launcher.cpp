#include "launcher.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <array>
#include <filesystem>

#include "about_dialog.h"
#include "designs/registry.h"
#include "form_view.h"
#include "launcher_areas.h"
#include "loop/loop_sheet.h"
#include "startup/startup.h"
#include "toolbox/toolbox.h"
#include "ui_metrics.h"

namespace tarnex::qt {

namespace {

// Flat buttons: a plain one-pixel border over a light face. Set on each button, not on the
// launcher, so that the design windows it owns keep the plain style (and its lower cost).
constexpr const char* kFlatButton =
    "QPushButton { border: 1px solid #6e6e6e; background: #f4f4f4; padding: 0px; }"
    "QPushButton:hover { background: #e3eefb; border-color: #2f6fc4; }"
    "QPushButton:pressed { background: #c9ddf5; }"
    "QPushButton:focus { border: 2px solid #1f1f1f; }"
    "QPushButton:disabled { color: #9a9a9a; background: #ececec; border-color: #b4b4b4; }";

const DesignInfo* designOfButton(int id) {
  for (const DesignInfo& d : designs()) {
    if (d.launcherButton() == id) return &d;
  }
  return nullptr;
}

}  // namespace

Launcher::Launcher(const Folder& folder, Host& desktop, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      folder_(folder),
      desktop_(desktop),
      host_(this) {
  const DialogTable& table = launcherTable();
  const DialogUnits du = unitsForDialogFont(table.fontPoints);
  setFont(dialogFont(table.fontPoints));
  setWindowTitle(toQString(table.titleName));
  setWindowIcon(programIcon());
  setFixedSize(du.size(table.size.w, table.size.h));

  for (const ButtonRow& row : table.buttons) {
    auto* b = new QPushButton(toQString(row.caption), this);
    b->setGeometry(du.rect(row.rect));
    b->setStyleSheet(QString::fromLatin1(kFlatButton));
    // No default button: Enter presses only the button that has the focus (keyPressEvent).
    b->setAutoDefault(false);
    b->setDefault(false);
    const int id = row.id;
    if (id == launcher::kExitButton) {
      connect(b, &QPushButton::clicked, this, &QWidget::close);
    } else if (const DesignInfo* design = designOfButton(id)) {
      const std::string_view key = design->key();
      connect(b, &QPushButton::clicked, this, [this, key] { openDesign(key); });
    } else if (id == launcher::kLoopButton) {
      connect(b, &QPushButton::clicked, this, &Launcher::runLoopSheet);
    } else if (id == launcher::kToolboxButton) {
      connect(b, &QPushButton::clicked, this, &Launcher::openToolbox);
    } else {
      // "谐振LLC" is never available; the other buttons wait for their windows.
      b->setEnabled(false);
    }
    buttons_[id] = b;
  }
  const std::span<const int> order = launcherTabOrder();
  for (std::size_t i = 1; i < order.size(); ++i) {
    setTabOrder(buttons_[order[i - 1]], buttons_[order[i]]);
  }
  buttons_[order.front()]->setFocus(Qt::OtherFocusReason);
}

QPushButton* Launcher::button(int id) const {
  const auto it = buttons_.find(id);
  return it == buttons_.end() ? nullptr : it->second;
}

std::vector<FormView*> Launcher::designWindows() const {
  std::vector<FormView*> open;
  for (const QPointer<FormView>& w : designs_) {
    if (w) open.push_back(w.data());
  }
  return open;
}

FormView* Launcher::openDesign(std::string_view key) {
  const Folder folder = folder_;
  auto makeForm = [key, folder](Host& host) { return makeDesign(key, host, folder); };
  auto* view = new FormView(makeForm, this);
  view->move(mapToGlobal(QPoint(0, 0)));
  designs_.erase(std::remove_if(designs_.begin(), designs_.end(),
                                [](const QPointer<FormView>& w) { return w.isNull(); }),
                 designs_.end());
  designs_.emplace_back(view);
  view->start();
  return view;
}

void Launcher::runLoopSheet() {
  // Built for this run and destroyed with it: nothing survives from one opening to the next.
  const std::unique_ptr<Sheet> sheet = makeLoopSheet(host_);
  host_.runSheet(*sheet);
}

void Launcher::openToolbox() {
  const std::filesystem::path pictures =
      std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()) / "Code";
  const std::unique_ptr<Sheet> toolbox = makeToolbox(desktop_, folder_, pictures);
  desktop_.runSheet(*toolbox);
}

void Launcher::showAbout() {
  AboutDialog about(this);
  about.exec();
}

void Launcher::prepareToShow() {
  ensurePolished();
  for (const auto& [id, button] : buttons_) button->ensurePolished();
  face();
}

const QPixmap& Launcher::face() {
  const qreal ratio = devicePixelRatioF();
  if (face_.isNull() || face_.devicePixelRatio() != ratio) {
    QPixmap face(size() * ratio);
    face.setDevicePixelRatio(ratio);
    face.fill(palette().color(QPalette::Window));
    QPainter painter(&face);
    paintFace(painter);
    face_ = face;
  }
  return face_;
}

void Launcher::paintFace(QPainter& painter) {
  // The background is stretched a little beyond the client area on every side but the top.
  const Drawing background("bitmap213");
  const QSize bitmap = background.size();
  background.paintStretched(painter, QRect(-5, 0, width() + 10, height() + 10),
                            QSize(bitmap.width() + 4, bitmap.height() + 9),
                            palette().color(QPalette::Window));

  painter.setFont(kaiFont(10));
  painter.setPen(QColor(0, 0, 255));
  drawTextAt(painter, QPoint(10, 141), QStringLiteral("(H)查阅帮助文档"));
  painter.setPen(Qt::black);
  drawTextAt(painter, QPoint(22, 7), QStringLiteral("Topology"));

  // The open frame around the topology buttons; the gap in its top edge holds "Topology".
  painter.setPen(QPen(QColor(255, 0, 0), 2));
  painter.drawLine(12, 15, 12, 115);
  painter.drawLine(12, 115, 424, 115);
  painter.drawLine(424, 115, 424, 15);
  painter.drawLine(424, 15, 79, 15);
  painter.drawLine(12, 15, 21, 15);

  painter.setPen(QPen(QColor(0, 0, 255), 1));
  painter.drawLine(13, 138, 107, 138);
  painter.drawLine(13, 154, 107, 154);
}

void Launcher::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  QPainter painter(this);
  painter.drawPixmap(0, 0, face());
}

void Launcher::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    const QPoint at = event->position().toPoint();
    switch (launcherAreaAt(at.x(), at.y())) {
      case LauncherArea::About:
        showAbout();
        break;
      case LauncherArea::Help:
        // Whether the desktop can open it is not checked and nothing is reported.
        desktop_.openInDesktop(folder_.path(kHelpDocument).string(), false);
        break;
      case LauncherArea::None:
        break;
    }
  }
  QDialog::mouseReleaseEvent(event);
}

void Launcher::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    close();
    return;
  }
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    // No default button: Enter only presses the button that has the focus.
    if (auto* b = qobject_cast<QPushButton*>(focusWidget()); b && b->isEnabled()) b->click();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void Launcher::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction(QString::fromUtf8(kAboutItem), this, &Launcher::showAbout);
  menu.exec(event->globalPos());
}

void Launcher::closeEvent(QCloseEvent* event) {
  // The design windows belong to the launcher and end with it.
  for (FormView* view : designWindows()) view->close();
  QDialog::closeEvent(event);
}

}  // namespace tarnex::qt
