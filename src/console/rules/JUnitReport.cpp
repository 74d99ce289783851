#include "console/rules/JUnitReport.h"

#include <cstdio>

#include "engine/RunLog.h"
#include "engine/clsTolvane.h"

namespace tolvane {
namespace {

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Text escaped for an attribute value (inAttribute) or element content.
std::string Escape(const std::wstring& text, bool inAttribute) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // UTF-16 on Windows (pairs joined here), UTF-32 in the native build.
        char32_t c = static_cast<char32_t>(text[i]);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[++i]) - 0xDC00);
        }
        switch (c) {
        case U'&': out += "&amp;"; continue;
        case U'<': out += "&lt;"; continue;
        case U'>': out += "&gt;"; continue;
        case U'"': out += inAttribute ? "&quot;" : "\""; continue;
        // A parser would turn raw line breaks and tabs in an attribute into spaces.
        case U'\t': out += inAttribute ? "&#9;" : "\t"; continue;
        case U'\n': out += inAttribute ? "&#10;" : "\n"; continue;
        case U'\r': out += "&#13;"; continue;
        default: break;
        }
        const bool allowed = (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
                             (c >= 0x10000 && c <= 0x10FFFF);
        AppendUtf8(out, allowed ? c : U'\uFFFD');
    }
    return out;
}

std::string Attribute(const char* name, const std::wstring& value) {
    return std::string(" ") + name + "=\"" + Escape(value, true) + "\"";
}

std::string Seconds(std::int64_t milliseconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%03lld", static_cast<long long>(milliseconds / 1000),
                  static_cast<long long>(milliseconds % 1000));
    return text;
}

std::string IsoTime(const DateTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return text;
}

// The reason, then the compiler's log lines and the place of its error.
std::wstring FailureBody(const BuildResult& build) {
    std::wstring body = build.failureText;
    for (const auto& line : build.logLines) body += L"\n" + line;
    if (build.errorAt) body += L"\n" + SourceErrorText(*build.errorAt);
    return body;
}

}  // namespace

std::string JUnitXml(const RunReport& report) {
    std::size_t failures = 0, skipped = 0;
    for (const auto& build : report.builds) {
        failures += build.failed ? 1 : 0;
        skipped += build.skipped ? 1 : 0;
    }
    const std::string counts = " tests=\"" + std::to_string(report.builds.size()) + "\" failures=\"" +
                               std::to_string(failures) + "\" errors=\"0\"";
    const std::string time = " time=\"" + Seconds(report.milliseconds) + "\"";

    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    xml += "<testsuites" + Attribute("name", report.listName) + counts + time + ">\n";
    xml += "  <testsuite" + Attribute("name", report.listName) + counts + " skipped=\"" + std::to_string(skipped) + "\"" + time +
           " timestamp=\"" + IsoTime(report.started) + "\">\n";
    if (!report.properties.empty()) {
        xml += "    <properties>\n";
        for (const auto& [name, value] : report.properties)
            xml += "      <property" + Attribute("name", name) + Attribute("value", value) + "/>\n";
        xml += "    </properties>\n";
    }
    for (const auto& build : report.builds) {
        const auto slash = build.project.rfind(L'\\');
        const std::wstring name = slash == std::wstring::npos ? build.project : build.project.substr(slash + 1);
        const std::wstring folder = slash == std::wstring::npos ? std::wstring() : build.project.substr(0, slash);
        xml += "    <testcase" + Attribute("name", name) + Attribute("classname", folder) + " time=\"" +
               Seconds(build.milliseconds) + "\"";
        // Report viewers take the failure's place from these two.
        if (build.errorAt) {
            xml += Attribute("file", build.errorAt->path) + " line=\"" + std::to_string(build.errorAt->line) + "\"";
        }
        if (build.skipped) {
            xml += ">\n      <skipped" + Attribute("message", clsTolvane::kStatusSkipped) + "/>\n    </testcase>\n";
            continue;
        }
        if (!build.failed) {
            xml += "/>\n";
            continue;
        }
        // The log's one-line form of the reason, without its indent, as the summary.
        std::wstring summary = FailureDetailLine(build.failureText);
        if (!summary.empty()) summary.erase(0, 1);
        xml += ">\n      <failure" + Attribute("message", summary) + Attribute("type", clsTolvane::kStatusFailed) + ">" +
               Escape(FailureBody(build), false) + "</failure>\n    </testcase>\n";
    }
    xml += "  </testsuite>\n</testsuites>\n";
    return xml;
}

}  // namespace tolvane
