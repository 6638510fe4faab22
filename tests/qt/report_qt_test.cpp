// The design report as the desktop program writes it, from the window's design menu: a
// flyback window verified on a catalogue core and the current-mode page of the compensation
// sheet, each as a PDF (its pages counted, the CJK face embedded, its Chinese read back out by
// pdftotext) and an HTML that carries its pictures; a file that cannot be written says why.
// The toolbox, which designs nothing, has no design menu; the design menu keeps its items'
// order whoever adds one first.
#include <QAction>
#include <QDialog>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTest>
#include <QVBoxLayout>
#include <fstream>
#include <iterator>
#include <utility>

#include "design_menu.h"
#include "form_view.h"
#include "forms/core_pick.h"
#include "report_writer.h"
#include "sheet_view.h"
#include "support/fresh_folder_main.h"
#include "support/launcher_fixture.h"
#include "tables/launcher_table.h"
#include "toolbox/toolbox.h"

using namespace tarnex;
using namespace tarnex::qt;

namespace {

const QString kDate = QStringLiteral("2026-12-09 15:40");

// What a poppler tool prints for `pdf`; the test fails when it cannot run.
QString popplerOutput(const QString& tool, const QStringList& args) {
  QProcess p;
  p.start(tool, args);
  if (!p.waitForFinished(30000) || p.exitCode() != 0) {
    qWarning("%s failed: %s", qPrintable(tool), p.readAllStandardError().constData());
    return {};
  }
  return QString::fromUtf8(p.readAllStandardOutput());
}

std::string fileText(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

QStringList menuTexts(const DesignMenu* menu) {
  QStringList texts;
  if (menu == nullptr) return texts;
  for (QAction* a : menu->menu()->actions()) {
    if (!a->isSeparator()) texts << a->text();
  }
  return texts;
}

}  // namespace

class ReportQtTest : public testing::LauncherTest {
  Q_OBJECT

  // Writes the report of `body` as PDF and HTML and checks both: pages, embedded face, the
  // texts that must come back out of the PDF, and the pictures inside the HTML.
  void checkReport(FormWidget& body, const std::string& sheetTitle, const QStringList& texts,
                   int pictures) {
    const QString pdf = QStringLiteral("report.pdf"), html = QStringLiteral("report.html");
    QCOMPARE(writeReport(body, sheetTitle, {pdf, html}, kDate), QString());
    const QString info = popplerOutput(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+[1-4]\\n"))),
             qPrintable(info));
    // Every face the PDF uses is embedded, the CJK face among them.
    const QString fonts = popplerOutput(QStringLiteral("pdffonts"), {pdf});
    QVERIFY2(fonts.contains(QStringLiteral("NotoSansCJK")), qPrintable(fonts));
    for (const QString& line : fonts.split(QLatin1Char('\n')).mid(2)) {
      if (line.trimmed().isEmpty()) continue;
      const QStringList columns = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
      QVERIFY2(columns.size() > 4 && columns.at(columns.size() - 5) == QStringLiteral("yes"),
               qPrintable(line));
    }
    const QString text = popplerOutput(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    for (const QString& t : texts) QVERIFY2(text.contains(t), qPrintable(t + "\n" + text));
    QVERIFY(text.contains(kDate));
    const std::string page = fileText(html);
    std::size_t images = 0;
    for (auto at = page.find("data:image/png;base64,"); at != std::string::npos;
         at = page.find("data:image/png;base64,", at + 1)) {
      ++images;
    }
    QCOMPARE(images, static_cast<std::size_t>(pictures));
  }

 private slots:
  void designWindowWithItsCoreSheet() {
    FormView* view = fixture_.openWindow(launcher::kFlybackButton);
    QVERIFY(view);
    QVERIFY(menuTexts(view->designMenu()).contains(QStringLiteral("生成报告…")));
    QVERIFY(testing::pressKey(*view->body(), "core"));
    std::string error;
    QVERIFY(view->form().corePick()->choose("ETD 34/17/11", "N87", error));
    QVERIFY(testing::pressKey(*view->body(), "verify"));
    QVERIFY(view->form().corePick()->sheet() != nullptr);
    checkReport(
        *view->body(), "",
        {QStringLiteral("反激变换器"), QStringLiteral("设计条件"), QStringLiteral("计算结果"),
         QStringLiteral("设计检查"), QStringLiteral("磁芯损耗与窗口"), QStringLiteral("Tarnex 3.2"),
         // A character the face also maps a radical onto.
         QStringLiteral("气隙长度")},
        1);
  }

  void compensationPageWithItsBodePlot() {
    bool checked = false;
    fixture_.runSheet(launcher::kLoopButton, [&](SheetView& sheet) {
      // The sheet has the design files' items too.
      QCOMPARE(menuTexts(sheet.designMenu()).mid(0, 3),
               (QStringList{QStringLiteral("打开设计…"), QStringLiteral("保存设计…"),
                            QStringLiteral("生成报告…")}));
      FormWidget* page = sheet.page(sheet.sheet().current());
      QVERIFY(testing::pressKey(*page, "calc"));
      QVERIFY(page->form().bode() != nullptr);
      checkReport(*page, sheet.sheet().title(),
                  {QStringLiteral("环路补偿"), QStringLiteral("电流模式"), QStringLiteral("波特图"),
                   QStringLiteral("相位裕量")},
                  2);
      checked = true;
    });
    QVERIFY(checked);
  }

  void toolboxHasNoDesignMenu() {
    testing::RecordingHost host;
    const std::unique_ptr<Sheet> toolbox = makeToolbox(host, folder(), "Code");
    const SheetView view(*toolbox, nullptr);
    QVERIFY(view.designMenu() == nullptr);
  }

  // The design menu keeps its items in their order and sections, whoever adds one first.
  void designMenuKeepsItsOrder() {
    QDialog window;
    auto* layout = new QVBoxLayout(&window);
    DesignMenu menu(&window, layout);
    for (auto [item, text] : {std::pair{DesignMenu::Item::LoadStep, "step"},
                              {DesignMenu::Item::Sweep, "sweep"},
                              {DesignMenu::Item::Open, "open"},
                              {DesignMenu::Item::Report, "report"},
                              {DesignMenu::Item::Save, "save"}}) {
      menu.add(item, QString::fromLatin1(text), [] {});
    }
    QStringList shown;
    for (QAction* a : menu.menu()->actions()) shown << (a->isSeparator() ? "-" : a->text());
    QCOMPARE(shown.join(QLatin1Char(' ')), QStringLiteral("open save - report sweep - step"));
    QCOMPARE(layout->menuBar(), menu.bar());
  }

  // A PDF that cannot be written says which file and why; the old file beside stays.
  void failureSaysWhy() {
    FormView* view = fixture_.openWindow(launcher::kDcDcButton);
    QVERIFY(view);
    { std::ofstream("blocker") << "not a folder"; }
    const QString error =
        writeReport(*view->body(), "", {QStringLiteral("blocker/r.pdf"), {}}, kDate);
    QVERIFY2(error.contains(QStringLiteral("r.pdf")), qPrintable(error));
    QCOMPARE(fileText(QStringLiteral("blocker")), std::string("not a folder"));
  }
};

TARNEX_FRESH_FOLDER_MAIN(ReportQtTest)

#include "report_qt_test.moc"
