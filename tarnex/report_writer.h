#pragma once
// The design report of a window as the desktop program writes it: the core's report of the
// form with the window's circuit drawing as rendered and, on a compensation page, its Bode
// plot, as a PDF (A4, the CJK face embedded) and as an HTML that carries its pictures inside.
// Each file is written whole or not at all; a failure leaves an existing file as it was.

#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace tarnex::qt {

class DesignMenu;
class FormWidget;

struct ReportFiles {
  QString pdf;   // empty: no PDF
  QString html;  // empty: no HTML
};

// Writes the report of the form `widget` shows; `sheetTitle` names the sheet of a page (empty
// for a window of its own); `date` is printed as it is. Returns why it failed, empty on
// success.
QString writeReport(FormWidget& widget, const std::string& sheetTitle, const ReportFiles& files,
                    const QString& date);

// Adds "生成报告…" to `menu` of `window`: it asks where to write the report of the form
// `shown` gives now (the page in front of a sheet), writes it and says where it went or why
// it could not.
void addReportItem(DesignMenu& menu, QWidget* window, std::function<FormWidget*()> shown,
                   std::string sheetTitle = {});

}  // namespace tarnex::qt
