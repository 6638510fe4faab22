// The sweep dialog over a window as it stands: its rows are the points of the range typed,
// each as the window computes it; the plot has a panel per result, a refused point is a gap
// whose message shows over it; the rows are saved as CSV; the window itself is untouched.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>

#include "designs/registry.h"
#include "loop/loop_sheet.h"
#include "plot_widget.h"
#include "startup/startup.h"
#include "support/fresh_folder_main.h"
#include "support/recording_host.h"
#include "support/temp_folder.h"
#include "sweep_dialog.h"

namespace tarnex {
namespace {

struct DialogCase {
  const char* dialog;
  const char* input;  // its name as the combo shows it, in brackets
  const char* from;
  const char* to;
  int points;
  bool log;
  std::vector<const char*> outputs;
  const char* refusal;  // the message over the gap of the last point; nullptr: none
};

// The design windows' ranges end on a point the window refuses.
const DialogCase kCases[] = {
    {"dcdc", "(Vo)", "6", "18", 3, false, {"(L)", "(Duty)"}, "设计条件不正确，请检查！"},
    {"pushpull", "(Dmax)", "0.3", "1.2", 4, true, {"(Np)"}, "设计条件不正确，请检查！"},
    {"loop-current", "(fc)", "5", "50", 5, true, {"(R2)", "(C1)"}, nullptr},
};

}  // namespace

class SweepDialogQtTest : public QObject {
  Q_OBJECT

 private slots:
  void sweepsPlotsAndSaves() {
    QStringList seen;
    testing::TempFolder dir;
    const Folder folder(dir.folder().dir(), initialContent);
    for (const DialogCase& c : kCases) {
      const QString name = QString::fromUtf8(c.dialog) + QStringLiteral(": ");
      testing::RecordingHost host;
      std::unique_ptr<Form> form = makeDesign(c.dialog, host, folder);
      if (!form) form = makeLoopPage(c.dialog, host);
      form->open();
      const std::vector<Control> before = form->controls();
      qt::SweepDialog dialog(*form, nullptr);
      dialog.resize(900, 640);
      const int input = dialog.inputs()->findText(QString::fromUtf8(c.input), Qt::MatchEndsWith);
      dialog.inputs()->setCurrentIndex(input);
      dialog.from()->setText(QString::fromUtf8(c.from));
      dialog.to()->setText(QString::fromUtf8(c.to));
      dialog.points()->setValue(c.points);
      dialog.logSteps()->setChecked(c.log);
      for (int i = 0; i < dialog.outputs()->count(); ++i) {
        QListWidgetItem* item = dialog.outputs()->item(i);
        bool chosen = false;
        for (const char* o : c.outputs)
          chosen = chosen || item->text().endsWith(QString::fromUtf8(o));
        item->setCheckState(chosen ? Qt::Checked : Qt::Unchecked);
      }
      if (input < 0 || !dialog.run()) {
        seen << name + QStringLiteral("did not run");
        continue;
      }
      const std::vector<SweepRow>& rows = dialog.rows();
      const QString refusal = QString::fromUtf8(c.refusal ? c.refusal : "");
      if (static_cast<int>(rows.size()) != c.points || rows.back().written != !c.refusal ||
          !rows.front().written || QString::fromStdString(rows.back().refusal) != refusal) {
        seen << name + QStringLiteral("rows %1, last: %2")
                           .arg(rows.size())
                           .arg(QString::fromStdString(rows.empty() ? "" : rows.back().refusal));
        continue;
      }
      qt::PlotWidget* plot = dialog.plot();
      if (plot->plot().panels.size() != c.outputs.size()) seen << name + QStringLiteral("panels");
      if (plot->plot().xAxis.log != c.log) seen << name + QStringLiteral("axis not as stepped");
      // The gap's message over its column, values in the read-out elsewhere.
      (void)plot->grab();
      QString note, readOut;
      for (int px = 0; px < plot->width(); ++px) {
        if (note.isEmpty()) note = plot->gapNoteAt(px);
        if (readOut.isEmpty() && plot->gapNoteAt(px).isEmpty())
          readOut = plot->readOut(px).join('|');
      }
      if (note != refusal) seen << name + QStringLiteral("note ") + note;
      if (readOut.isEmpty()) seen << name + QStringLiteral("no read-out");
      // Saved whole: the file holds the rows as CSV, a header and a line per point.
      const QString path =
          QString::fromStdString(dir.path(std::string(c.dialog) + ".csv").string());
      std::ofstream(path.toStdString()) << "an older file";
      if (!dialog.save(path).isEmpty()) seen << name + QStringLiteral("not saved");
      std::ifstream in(path.toStdString(), std::ios::binary);
      const std::string saved{std::istreambuf_iterator<char>(in), {}};
      if (saved != dialog.csv() || std::count(saved.begin(), saved.end(), '\n') < c.points + 1) {
        seen << name + QStringLiteral("saved: ") + QString::fromStdString(saved);
      }
      // A folder that cannot be written: a reason, and nothing half written.
      if (dialog.save(QString::fromStdString((dir.path("none") / "x.csv").string())).isEmpty()) {
        seen << name + QStringLiteral("saved into a missing folder");
      }
      bool same = before.size() == form->controls().size();
      for (std::size_t i = 0; same && i < before.size(); ++i) {
        same = before[i].text == form->controls()[i].text &&
               before[i].selection == form->controls()[i].selection;
      }
      if (!same) seen << name + QStringLiteral("the window changed");
    }
    QVERIFY2(seen.isEmpty(), qPrintable(seen.join(QStringLiteral("; "))));
  }
};

}  // namespace tarnex

TARNEX_FRESH_FOLDER_MAIN(tarnex::SweepDialogQtTest)

#include "sweep_dialog_qt_test.moc"
