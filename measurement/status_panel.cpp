#include "measurement/status_panel.h"

#include "base/column_format.h"
#include "base/number_text.h"

#include <cmath>
#include <cwctype>

namespace qv {

namespace {

std::wstring ExpColumn(std::wstring_view caption) {
    return FormatColumn(LeadingNumber(caption), 14, 1, 0, false).value_or(L" 0 ");
}

void WriteSummary(StatusPanelContext& c) {
    const auto caption = [&](PanelLabel l) { return c.panel.Caption(l); };
    std::wstring text = BuildSummaryLine(
        caption(PanelLabel::StartTime), caption(PanelLabel::StartExp), caption(PanelLabel::EndTime),
        caption(PanelLabel::EndExp), caption(PanelLabel::ElapseExp));
    text += L"\r\n\r\n";
    AppendLog(c.log, text, kLogLineBreakCap);
    c.debugLog.Write(L"測定終了表示完了");
}

} // namespace

std::wstring PlainNumberText(const std::optional<double>& reading) {
    if (!reading) {
        return {};
    }
    return WholeNumberText(*reading);
}

double LeadingNumber(std::wstring_view caption) {
    std::size_t i = 0;
    while (i < caption.size() && std::iswspace(caption[i])) {
        ++i;
    }
    std::size_t end = i;
    if (end < caption.size() && (caption[end] == L'-' || caption[end] == L'+')) {
        ++end;
    }
    const std::size_t digitsFrom = end;
    while (end < caption.size() && (std::iswdigit(caption[end]) || caption[end] == L'.')) {
        ++end;
    }
    if (end == digitsFrom) {
        return 0;
    }
    const std::wstring number(caption.substr(i, end - i));
    wchar_t* stop = nullptr;
    const double value = std::wcstod(number.c_str(), &stop);
    return std::isfinite(value) ? value : 0;
}

std::wstring BuildSummaryLine(std::wstring_view startTime, std::wstring_view startExp,
                              std::wstring_view endTime, std::wstring_view endExp,
                              std::wstring_view elapseExp) {
    std::wstring line = L"開始時刻:";
    line.append(startTime).append(L"  Exp:").append(ExpColumn(startExp));
    line.append(L"終了時刻:").append(endTime).append(L"  Exp:").append(ExpColumn(endExp));
    line.append(L"\u3000増加量:").append(19, L' ');
    line.append(L"  Exp:").append(ExpColumn(elapseExp));
    return line;
}

namespace {

// The time of now and the last figure read, as a click on the window sets them. Before any
// figure was read there is nothing to show, and an empty panel stays empty.
void RefreshEndValues(StatusPanelContext& c) {
    if (!c.latestExp) {
        return;
    }
    c.panel.SetCaption(PanelLabel::EndTime, CurrentTimestamp(c.clock));
    c.panel.SetCaption(PanelLabel::EndExp, PlainNumberText(c.latestExp));
}

} // namespace

void UpdateStatusPanel(PanelMode mode, StatusPanelContext& c) {
    if (mode == PanelMode::END) {
        if (!c.logMark.empty()) {
            // The summary ends at the stop itself, not at the last fall or click.
            RefreshEndValues(c);
            WriteSummary(c);
        }
    } else if (mode == PanelMode::INIT) {
        for (PanelLabel label : kPanelLabels) {
            c.panel.SetCaption(label, L"");
        }
    } else if (mode == PanelMode::FAST) {
        const std::wstring now = CurrentTimestamp(c.clock);
        const std::wstring exp = PlainNumberText(c.latestExp);
        c.panel.SetCaption(PanelLabel::StartTime, now);
        c.panel.SetCaption(PanelLabel::StartExp, exp);
        c.panel.SetCaption(PanelLabel::EndTime, now);
        c.panel.SetCaption(PanelLabel::EndExp, exp);
        c.panel.SetCaption(PanelLabel::ElapseExp, L"0");
    } else {
        RefreshEndValues(c);
    }
    c.panel.RepaintPanel();
}

} // namespace qv
