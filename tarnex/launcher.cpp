#include "launcher.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <array>
#include <filesystem>

#include "about_dialog.h"
#include "design_files.h"
#include "designs/registry.h"
#include "form_view.h"
#include "forms/design_file.h"
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
  setAcceptDrops(true);
  DesignFiles::instance().setFolder(folder_);

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
      connect(b, &QPushButton::clicked, this, [this] { runLoopSheet(); });
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

FormView* Launcher::newDesignView(std::string_view key) {
  const Folder folder = folder_;
  auto makeForm = [key, folder](Host& host) { return makeDesign(key, host, folder); };
  auto* view = new FormView(makeForm, this);
  view->move(mapToGlobal(QPoint(0, 0)));
  designs_.erase(std::remove_if(designs_.begin(), designs_.end(),
                                [](const QPointer<FormView>& w) { return w.isNull(); }),
                 designs_.end());
  designs_.emplace_back(view);
  return view;
}

FormView* Launcher::openDesign(std::string_view key) {
  FormView* view = newDesignView(key);
  view->start();
  return view;
}

void Launcher::refuseDesign(const QString& path, const std::string& reason) {
  const std::filesystem::path p(path.toStdString());
  std::string text = "无法打开设计“" + p.filename().string() + "”：" + reason;
  host_.showMessage(Message{kProgramName, std::move(text), Icon::Warning, false});
}

bool Launcher::openDesignFile(const QString& given) {
  const QString path = QFileInfo(given).absoluteFilePath();
  std::string error;
  const std::optional<std::string> text =
      readDesignFile(std::filesystem::path(path.toStdString()), error);
  if (!text) {
    refuseDesign(path, error);
    // A design that is gone leaves the recent list; one that cannot be read now stays.
    if (!QFileInfo::exists(path)) DesignFiles::instance().forget(path);
    return false;
  }
  const std::variant<std::string, std::string> key = designWindowKey(*text);
  if (key.index() == 1) {
    refuseDesign(path, std::get<1>(key));
    return false;
  }
  const std::string& window = std::get<0>(key);
  const bool isPage = std::any_of(loopPages().begin(), loopPages().end(),
                                  [&](const LoopPageInfo& p) { return p.key() == window; });
  if (window == kLoopSheetKey || isPage) return runLoopSheet(path, *text);
  const auto design = std::find_if(designs().begin(), designs().end(), [&](const DesignInfo& d) {
    return d.make != nullptr && d.key() == window;
  });
  if (design == designs().end()) {
    refuseDesign(path, "键“window”是“" + window + "”：本程序没有这个窗口。");
    return false;
  }
  FormView* view = newDesignView(design->key());
  std::variant<Design, std::string> read = readDesign(*text, view->form());
  if (const auto* reason = std::get_if<std::string>(&read)) {
    delete view;
    refuseDesign(path, *reason);
    return false;
  }
  view->start();
  applyDesign(view->form(), std::get<Design>(read));
  view->setDesignFile(path);
  view->sync();
  DesignFiles::instance().remember(path);
  return true;
}

void Launcher::runLoopSheet() {
  runLoopSheet({}, {});
}

bool Launcher::runLoopSheet(const QString& file, const std::string& text) {
  // Built for this run and destroyed with it: nothing survives from one opening to the next.
  const std::unique_ptr<Sheet> sheet = makeLoopSheet(host_);
  if (!file.isEmpty()) {
    std::variant<Design, std::string> read = readDesign(text, *sheet);
    if (const auto* reason = std::get_if<std::string>(&read)) {
      refuseDesign(file, *reason);
      return false;
    }
    applyDesign(*sheet, std::get<Design>(read));
    DesignFiles::instance().remember(file);
  }
  host_.runSheet(*sheet, file);
  return true;
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

void Launcher::fillContextMenu(QMenu& menu) {
  menu.addAction(QString::fromUtf8(kAboutItem), this, &Launcher::showAbout);
  menu.addSeparator();
  menu.addAction(QStringLiteral("打开设计(&O)..."), this, [this] {
    const QString chosen = DesignFiles::instance().choose(this, false, {});
    if (!chosen.isEmpty()) openDesignFile(chosen);
  });
  QMenu* recent = menu.addMenu(QStringLiteral("最近的设计(&R)"));
  const QStringList paths = DesignFiles::instance().recent();
  recent->setEnabled(!paths.isEmpty());
  for (int i = 0; i < paths.size(); ++i) {
    // "&1 flyback.tarnex", the folder in the tooltip and the status tip.
    QAction* a = recent->addAction(
        QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(paths[i]).fileName().replace('&', "&&")),
        this, [this, path = paths[i]] { openDesignFile(path); });
    a->setToolTip(paths[i]);
    a->setStatusTip(paths[i]);
  }
  recent->setToolTipsVisible(true);
}

void Launcher::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  fillContextMenu(menu);
  menu.exec(event->globalPos());
}

void Launcher::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (std::any_of(urls.begin(), urls.end(), [](const QUrl& u) { return u.isLocalFile(); })) {
    event->acceptProposedAction();
  }
}

void Launcher::dropEvent(QDropEvent* event) {
  QStringList files;
  for (const QUrl& u : event->mimeData()->urls()) {
    if (u.isLocalFile()) files << u.toLocalFile();
  }
  event->acceptProposedAction();
  // Opened once the drop has ended: a sheet or a message box runs modally.
  QTimer::singleShot(0, this, [this, files] {
    for (const QString& f : files) openDesignFile(f);
  });
}

void Launcher::closeEvent(QCloseEvent* event) {
  // The design windows belong to the launcher and end with it.
  for (FormView* view : designWindows()) view->close();
  QDialog::closeEvent(event);
}

}  // namespace tarnex::qt
