// Where everything of a report page goes. Strips are drawn with y up from
// their baselines, as a millimetre chart is read, and turned into page
// coordinates (y down) here.
#include "view/PrintReport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "view/StripValues.h"

namespace {

class PageWriter {
public:
    explicit PageWriter(PrintPage& page) : m_page(page) {}

    void Text(PrintRole role, PrintFont font, int32_t x, int32_t y, const std::string& text, COLORREF color = 0)
    {
        PrintItem item;
        item.kind = PrintItemKind::kText;
        item.role = role;
        item.points = {{x, y}};
        item.font = font;
        item.color = color;
        item.text = text;
        m_page.items.push_back(std::move(item));
    }
    void Line(PrintRole role, std::vector<PrintPoint> points, int32_t pen, COLORREF color)
    {
        PrintItem item;
        item.kind = PrintItemKind::kLine;
        item.role = role;
        item.points = std::move(points);
        item.pen = pen;
        item.color = color;
        m_page.items.push_back(std::move(item));
    }
    void Polygon(PrintRole role, std::vector<PrintPoint> points, COLORREF color)
    {
        PrintItem item;
        item.kind = PrintItemKind::kPolygon;
        item.role = role;
        item.points = std::move(points);
        item.color = color;
        m_page.items.push_back(std::move(item));
    }
    void Picture(PrintItemKind kind, const PrintRect& rect)
    {
        PrintItem item;
        item.kind = kind;
        item.role = PrintRole::kPicture;
        item.points = {{rect.left, rect.top}, {rect.right, rect.bottom}};
        m_page.items.push_back(std::move(item));
    }

private:
    PrintPage& m_page;
};

// Labels in one column, values in the next, as wide as the widest label.
PrintRect Block(PageWriter& out, PrintRole role, int32_t left, int32_t top, const PrintLines& lines,
                const PrintTextWidth& width)
{
    int32_t labelWidth = 0;
    for (const auto& line : lines)
        labelWidth = std::max(labelWidth, width(kPrintFontLabel, line.first));
    int32_t right = left + labelWidth;
    int32_t y = top;
    for (const auto& [label, value] : lines) {
        out.Text(role, kPrintFontLabel, left, y, label);
        out.Text(role, kPrintFontText, left + labelWidth, y, value);
        right = std::max(right, left + labelWidth + width(kPrintFontText, value));
        y += kPrintLineHeight;
    }
    return {left, top, right, y};
}

PrintRect Footer(PageWriter& out, const PrintReportInput& in, const PrintRect& r, double scale,
                 const PrintTextWidth& width)
{
    const int32_t y = r.bottom + kPrintMargin / 2;
    const int32_t mark = kPrintFontHeights[kPrintFontText] * 2 / 3;
    const int32_t markTop = y + (kPrintFontHeights[kPrintFontText] - mark) / 2;
    out.Polygon(PrintRole::kFooter,
                {{r.left, markTop}, {r.left + mark, markTop}, {r.left + mark, markTop + mark}, {r.left, markTop + mark}},
                0x000000);
    int32_t x = r.left + mark + mark / 2;
    if (!in.makerLine.empty()) {
        const std::string first = in.makerLine.substr(0, 1);
        out.Text(PrintRole::kFooter, kPrintFontText, x, y, first, kPrintMakerFirstColor);
        x += width(kPrintFontText, first);
        out.Text(PrintRole::kFooter, kPrintFontText, x, y, in.makerLine.substr(1), kPrintMakerColor);
        x += width(kPrintFontText, in.makerLine.substr(1));
    }
    const std::string pages = PageNumberText(in.page, in.pageCount);
    int32_t right = r.right - width(kPrintFontText, pages);
    out.Text(PrintRole::kFooter, kPrintFontText, right, y, pages);
    // Whoever measures the strips must know that a millimetre is not one.
    if (scale < 1.0) {
        const std::string note = ScaleNoteText(scale);
        right -= kPrintMargin / 2 + width(kPrintFontText, note);
        out.Text(PrintRole::kFooter, kPrintFontText, right, y, note);
    }
    // As wide as its texts need with a gap between them, whatever the paper.
    const int32_t used = (x - r.left) + kPrintMargin / 2 + (r.right - right);
    return {r.left, y, r.left + used, y + kPrintFontHeights[kPrintFontText]};
}

// One strip's frame of reference: page x of a strip x, page y of a value
// above a baseline.
struct Strip {
    PrintRect rect;
    int32_t ecgBase = 0;   // page y of the ECG baseline
    int32_t co2Base = 0;   // page y of the CO2 baseline (the bottom)
    int32_t X(double x) const { return rect.left + int32_t(std::lround(x)); }
};

void Grid(PageWriter& out, const Strip& s, bool colour, COLORREF gridColor)
{
    const int32_t height = s.rect.bottom - s.rect.top;
    const COLORREF thin = colour ? gridColor : kPrintGridMonoColor;
    const COLORREF bold = colour ? kPrintGridBoldColor : kPrintGridBoldMonoColor;
    for (const bool thick : {false, true}) {
        for (int32_t x = 0; x <= kPrintStripWidth; x += 100) {
            if ((x % 500 == 0) == thick)
                out.Line(PrintRole::kGrid, {{s.rect.left + x, s.rect.top}, {s.rect.left + x, s.rect.bottom}},
                         thick ? 20 : 0, thick ? bold : thin);
        }
        for (int32_t y = 0; y <= height; y += 100) {
            if ((y % 500 == 0) == thick)
                out.Line(PrintRole::kGrid, {{s.rect.left, s.rect.bottom - y}, {s.rect.right, s.rect.bottom - y}},
                         thick ? 20 : 0, thick ? bold : thin);
        }
    }
}

void Scale(PageWriter& out, const Strip& s, const PrintReportInput& in, const PrintTextWidth& width)
{
    // Second marks below and across the bottom edge.
    const int32_t step = in.sweep * 2500;
    for (int32_t x = 0; x <= kPrintStripWidth; x += step)
        out.Line(PrintRole::kScale, {{s.rect.left + x, s.rect.bottom + 100}, {s.rect.left + x, s.rect.bottom - 250}}, 10,
                 0);
    // Right of the CO2 pulse when there is one, under its label.
    out.Text(PrintRole::kScale, kPrintFontSeconds, s.rect.left + (in.co2Trace ? 800 : 150),
             s.rect.bottom - 50 - kPrintFontHeights[kPrintFontSeconds], "seconds");

    // One millivolt at the gain, or half of one when that would not fit.
    int32_t z = int32_t(std::lround(EcgGain(in.gainIndex) * 1000.0));
    double mv = 1.0;
    if (z > 2500) {
        z /= 2;
        mv = 0.5;
    }
    const auto pulse = [&](int32_t base, int32_t h) {
        return std::vector<PrintPoint>{{s.rect.left, base},           {s.rect.left + 250, base},
                                       {s.rect.left + 250, base - h}, {s.rect.left + 500, base - h},
                                       {s.rect.left + 500, base},     {s.rect.left + 750, base}};
    };
    out.Line(PrintRole::kScale, pulse(s.ecgBase, z), 20, 0);
    char label[16];
    std::snprintf(label, sizeof label, "%.1fmV", mv);
    out.Text(PrintRole::kScale, kPrintFontEvent, s.rect.left + 600, s.ecgBase - z, label);

    if (!in.co2Trace)
        return;
    out.Line(PrintRole::kScale, pulse(s.co2Base, 500), 20, 0);
    const bool percent = LoadRelaxed(in.config->units[kUnitCO2]) != 0;
    const bool scaled = LoadRelaxed(in.config->co2Scale) != 0;
    const char* scaleText = scaled ? (percent ? "2%" : "20mmHg") : (percent ? "1%" : "8mmHg");
    const int32_t top = s.co2Base - 550 - kPrintFontHeights[kPrintFontEvent];
    out.Text(PrintRole::kScale, kPrintFontEvent, s.rect.left + 600, top, "CO2");
    out.Text(PrintRole::kScale, kPrintFontEvent, s.rect.left + 600 + width(kPrintFontEvent, "CO2 "), top, scaleText);
}

void EventFlag(PageWriter& out, const Strip& s, int32_t x, const CEcgEvent& event, const PrintTextWidth& width)
{
    const int32_t b = s.ecgBase;
    out.Polygon(PrintRole::kEvent,
                {{x + 40, b - 2000}, {x - 40, b - 2000}, {x - 40, b - 1875}, {x - 125, b - 1875},
                 {x, b - 1750}, {x + 125, b - 1875}, {x + 40, b - 1875}},
                kPrintMarkColor);
    const std::string text = event.GetDescription();
    if (text.empty())
        return;
    const int32_t w = width(kPrintFontEvent, text);
    const int32_t textX = x + 150 + w > s.rect.right ? x - 150 - w : x + 150;
    out.Text(PrintRole::kEvent, kPrintFontEvent, textX, b - 2000, text, kPrintMarkColor);
}

void Traces(PageWriter& out, const std::vector<Strip>& strips, const PrintReportInput& in,
            const PrintTextWidth& width)
{
    // 25 mm/s at 400 and 500 samples/s; never zero, whatever the remote says.
    const double step = std::max(1.0, (11.25 - 0.0125 * in.sampleRate) * in.sweep);
    const double gain = EcgGain(in.gainIndex);
    const int32_t co2Factor = LoadRelaxed(in.config->co2Scale) != 0 ? 2 : 5;
    const COLORREF traceColor = in.colour ? kPrintTraceColor : 0x000000;
    const COLORREF co2Color = in.colour ? kPrintCo2TraceColor : 0x808080;

    std::size_t current = strips.size();
    std::vector<PrintPoint> ecg;
    std::vector<PrintPoint> co2;
    const auto flush = [&] {
        if (ecg.size() > 1)
            out.Line(PrintRole::kTrace, std::move(ecg), 30, traceColor);
        if (co2.size() > 1)
            out.Line(PrintRole::kCo2Trace, std::move(co2), 20, co2Color);
        ecg.clear();
        co2.clear();
    };
    for (uint32_t i = 0; i < in.frameCount; ++i) {
        const double along = i * step;
        const auto k = std::size_t(along / kPrintStripWidth);
        if (k >= strips.size())
            break;  // a page holds three strips
        if (k != current) {
            flush();
            current = k;
        }
        const Strip& s = strips[k];
        const SampleFrame& frame = in.frames[i];
        const int32_t x = s.X(along - double(k) * kPrintStripWidth);
        const int32_t down = s.rect.bottom - s.ecgBase;  // room below the baseline
        const int32_t up = s.ecgBase - s.rect.top;       // room above it
        const double y = std::clamp(frame.ecg * gain, -double(down), double(up));
        ecg.push_back({x, s.ecgBase - int32_t(std::lround(y))});
        if (in.co2Trace) {
            const int32_t v = frame.co2Valid != 0 ? frame.co2 * co2Factor : 0;
            co2.push_back({x, s.co2Base - std::clamp(v, 0, s.rect.bottom - s.rect.top)});
        }
        if (in.rMarker && (frame.flags & SampleFrame::kFlagBeat) != 0)
            out.Polygon(PrintRole::kBeat,
                        {{x - 125, s.ecgBase - 2300}, {x + 125, s.ecgBase - 2300}, {x, s.ecgBase - 2100}},
                        kPrintMarkColor);
        if (frame.event.code != 0)
            EventFlag(out, s, x, frame.event, width);
    }
    flush();
}

// The report on a page of the given size (layout units from its corner).
PrintPage LayOut(const PrintReportInput& in, const PrintTextWidth& width, int32_t paperWidth, int32_t paperHeight,
                 double scale)
{
    PrintPage page;
    PageWriter out(page);
    const PrintRect r{kPrintMargin, kPrintMargin, paperWidth - kPrintMargin, paperHeight - kPrintMargin};
    page.pageRect = r;

    page.footer = Footer(out, in, r, scale, width);
    if (in.demoPicture)
        out.Picture(PrintItemKind::kDemoPicture, r);

    // Logo and practice.
    if (in.logo)
        out.Picture(PrintItemKind::kLogo, {r.left, r.top, r.left + kPrintLogoWidth, r.top + kPrintLogoHeight});
    const int32_t practiceX = r.left + kPrintLogoWidth + kPrintLogoWidth / 6;
    int32_t y = r.top;
    int32_t practiceRight = practiceX;
    const std::vector<std::string> practice = PracticeLines(*in.config);
    for (std::size_t i = 0; i < practice.size(); ++i) {
        const PrintFont font = i == 0 ? kPrintFontTitle : kPrintFontText;
        out.Text(PrintRole::kPractice, font, practiceX, y, practice[i]);
        practiceRight = std::max(practiceRight, practiceX + width(font, practice[i]));
        y += i == 0 ? kPrintLineHeight * 4 / 3 : kPrintLineHeight;
    }
    page.practice = {practiceX, r.top, practiceRight, y};

    // Values and patient side by side, 6.5 lines below the top.
    const int32_t blocksTop = r.top + kPrintLineHeight * 13 / 2;
    page.values = Block(out, PrintRole::kValues, r.left, blocksTop, ValueLines(in.values, *in.config), width);
    page.patient = Block(out, PrintRole::kPatient, r.left + (r.right - r.left) / 2, blocksTop,
                         PatientLines(in, PrintPageTime(in)), width);

    // Three strips, 200 mm wide, centred on the paper.
    const int32_t height = in.co2Trace ? kPrintCo2StripHeight : kPrintStripHeight;
    const int32_t left = (paperWidth / 100 - 200) * 100 / 2;
    int32_t top = std::max(page.values.bottom, page.patient.bottom) + kPrintLineHeight;
    std::vector<Strip> strips;
    for (int k = 0; k < kPrintStripsPerPage; ++k) {
        Strip s;
        s.rect = {left, top, left + kPrintStripWidth, top + height};
        s.co2Base = s.rect.bottom;
        s.ecgBase = s.rect.bottom - (in.co2Trace ? 3000 : 2500);
        strips.push_back(s);
        page.strips.push_back(s.rect);
        top += height + kPrintStripGap;
    }
    for (const Strip& s : strips) {
        Grid(out, s, in.colour, LoadRelaxed(in.config->gridColor));
        Scale(out, s, in, width);
    }
    if (in.frames != nullptr)
        Traces(out, strips, in, width);
    return page;
}

int32_t Width(const PrintRect& r)
{
    return r.right - r.left;
}

// The smallest page of any shape that holds the report laid out as `page`
// is: the strips with room beside them, the blocks side by side, the
// practice beside the logo, the footer's texts; and the strips above the
// bottom margin. None of these depends on the page's size.
std::pair<int32_t, int32_t> NeededSize(const PrintPage& page)
{
    const int32_t margins = 2 * kPrintMargin;
    const int32_t width = std::max({
        kPrintStripWidth + 2 * kPrintStripSideRoom,
        margins + 2 * (std::max(Width(page.values), Width(page.patient)) + kPrintBlockGap),
        margins + (page.practice.left - kPrintMargin) + Width(page.practice),
        margins + Width(page.footer),
    });
    const int32_t height = (page.strips.empty() ? page.pageRect.bottom : page.strips.back().bottom) + kPrintMargin;
    return {width, height};
}

}  // namespace

PrintPoint PrintPage::ToPaper(PrintPoint p) const
{
    return {origin.x + int32_t(std::lround(p.x * scale)), origin.y + int32_t(std::lround(p.y * scale))};
}

PrintPage BuildPrintPage(const PrintReportInput& in, const PrintTextWidth& width)
{
    PrintRect frame = in.printable;
    if (frame.right <= frame.left || frame.bottom <= frame.top)
        frame = {0, 0, in.paperWidth, in.paperHeight};
    const int32_t frameWidth = std::max(1, frame.right - frame.left);
    const int32_t frameHeight = std::max(1, frame.bottom - frame.top);

    int32_t layoutWidth = frameWidth;
    int32_t layoutHeight = frameHeight;
    double scale = 1.0;
    PrintPage page = LayOut(in, width, layoutWidth, layoutHeight, scale);
    // A scaled page carries a note in its footer, which may want a little
    // more room: a second round settles it.
    for (int round = 0; round < 3; ++round) {
        const auto [needWidth, needHeight] = NeededSize(page);
        if (needWidth <= layoutWidth && needHeight <= layoutHeight)
            break;
        // A larger page of the frame's shape, at least as large as needed,
        // and the scale that brings it back into the frame.
        const double shrink =
            std::min({scale, double(frameWidth) / double(needWidth), double(frameHeight) / double(needHeight)});
        layoutWidth = int32_t(std::ceil(frameWidth / shrink));
        layoutHeight = int32_t(std::ceil(frameHeight / shrink));
        scale = std::min(double(frameWidth) / double(layoutWidth), double(frameHeight) / double(layoutHeight));
        page = LayOut(in, width, layoutWidth, layoutHeight, scale);
    }
    page.scale = scale;
    page.origin = {frame.left, frame.top};
    return page;
}
