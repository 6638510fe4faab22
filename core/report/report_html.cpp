#include <cstdio>
#include <string>

#include "base/text_codec.h"
#include "report/report.h"

namespace tarnex::report {

namespace {

// The colours of the findings, as the windows list them.
const char* colorOf(Severity severity) {
  switch (severity) {
    case Severity::Failure:
      return "#ff0000";
    case Severity::Warning:
      return "#c800ff";
    case Severity::Info:
      break;
  }
  return "#000000";
}

const char* markOf(Severity severity) {
  switch (severity) {
    case Severity::Failure:
      return "●";
    case Severity::Warning:
      return "▲";
    case Severity::Info:
      break;
  }
  return "○";
}

const Image& imageOf(const Images& images, Figure figure) {
  return figure == Figure::Circuit ? images.circuit : images.bode;
}

void appendFigure(std::string& out, const Image& image) {
  out += "<p><img src=\"" + escape(image.src) + "\"";
  if (image.width > 0) out += " width=\"" + std::to_string(image.width) + "\"";
  if (image.height > 0) out += " height=\"" + std::to_string(image.height) + "\"";
  out += " alt=\"\"></p>\n";
}

void appendRows(std::string& out, const std::vector<Row>& rows) {
  out +=
      "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
      "style=\"border-collapse:collapse\">\n"
      "<tr><th align=\"left\">项目</th><th align=\"right\">数值</th>"
      "<th align=\"left\">单位</th></tr>\n";
  for (const Row& r : rows) {
    if (r.group) {
      out += "<tr><td colspan=\"3\" bgcolor=\"#e8eef8\"><b>" + escape(r.label) + "</b></td></tr>\n";
      continue;
    }
    out += "<tr><td>" + escape(r.label) + "</td><td align=\"right\">" + escape(r.value) +
           "</td><td>" + escape(r.unit) + "</td></tr>\n";
  }
  out += "</table>\n";
}

void appendSection(std::string& out, const Section& s, const Images& images) {
  const Image* image = s.figure ? &imageOf(images, *s.figure) : nullptr;
  const bool figure = image != nullptr && !image->src.empty();
  // A section that is only a picture nobody rendered is left out.
  if (!figure && s.rows.empty() && s.findings.empty() && s.empty.empty()) return;
  out += s.newPage ? "<h2 style=\"page-break-before:always\">" : "<h2>";
  out += escape(s.heading) + "</h2>\n";
  if (figure) appendFigure(out, *image);
  if (!s.rows.empty()) appendRows(out, s.rows);
  for (const Finding& f : s.findings) {
    out += std::string("<p style=\"color:") + colorOf(f.severity) + "\">" + markOf(f.severity) +
           " " + escape(f.text) + "</p>\n";
  }
  if (s.rows.empty() && s.findings.empty() && !s.empty.empty()) {
    out += "<p style=\"color:#808080\">" + escape(s.empty) + "</p>\n";
  }
}

}  // namespace

std::string escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x80) {
      const std::size_t n = utf8SequenceLength(text.substr(i));
      if (n == 0) {
        out += "\xEF\xBF\xBD";  // U+FFFD
        ++i;
      } else {
        out.append(text.substr(i, n));
        i += n;
      }
      continue;
    }
    switch (text[i]) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        if (byte >= 0x20 || text[i] == '\n' || text[i] == '\t') out += text[i];
    }
    ++i;
  }
  return out;
}

std::string html(const Report& report, const Images& images) {
  std::string out =
      "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
      escape(report.title) +
      "</title>\n</head>\n"
      "<body style=\"font-family:'Noto Sans CJK SC',sans-serif;font-size:10pt\">\n<h1>" +
      escape(report.title) + "</h1>\n<p>" + escape(report.program) + " · " + escape(report.date) +
      "</p>\n";
  for (const Section& s : report.sections) appendSection(out, s, images);
  out += "</body>\n</html>\n";
  return out;
}

std::string suggestedName(std::string_view title, std::string_view extension) {
  // The title without the characters a file name cannot hold on the desktops a report is
  // sent to.
  std::string plain;
  for (std::size_t i = 0; i < title.size(); ++i) {
    const char c = title[i];
    const bool bad = c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' ||
                     c == '<' || c == '>' || c == '|' || static_cast<unsigned char>(c) < 0x20;
    plain += bad ? '_' : c;
  }
  while (!plain.empty() && (plain.back() == ' ' || plain.back() == '.')) plain.pop_back();
  if (plain.empty()) plain = "报告";
  return plain + std::string(extension);
}

}  // namespace tarnex::report
