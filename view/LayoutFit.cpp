// Fitting the pane to the client: the scale follows the height, and comes
// down where a band column or the pane's height cannot hold what is in it.
#include <algorithm>
#include <vector>

#include "view/ViewLayout.h"

namespace {

// Enough to come down from any scale a window the frame allows starts at;
// each step takes at least 3 % off. Then halving the last step five times
// finds the largest scale that fits to within 1 %.
constexpr int kMaxFitSteps = 16;
constexpr int kBisectSteps = 5;

std::vector<std::string_view> Words(std::string_view text)
{
    std::vector<std::string_view> words;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find(' ', start), text.size());
        if (end > start)
            words.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

// Lines that text broken at blanks takes at `width`, each filled as far as
// it goes; a word wider than `width` alone does not fit at all (0).
int LinesAt(const ITextMeasure& measure, int font, std::string_view text, const std::vector<std::string_view>& words,
            int32_t width)
{
    int lines = 0;
    std::size_t i = 0;
    while (i < words.size()) {
        std::size_t j = i + 1;
        // A line runs from the first word's start to the last word's end.
        while (j < words.size()) {
            const std::size_t begin = std::size_t(words[i].data() - text.data());
            const std::size_t end = std::size_t(words[j].data() - text.data()) + words[j].size();
            if (measure.TextWidth(font, text.substr(begin, end - begin)) > width)
                break;
            ++j;
        }
        if (j == i + 1 && measure.TextWidth(font, words[i]) > width)
            return 0;
        ++lines;
        i = j;
    }
    return lines;
}

// The groups' rooms: the pane, or a band column down to the bottom.
LayoutRect GroupRoom(const PlannedGroup& group, const NumericsLayout& layout, const BoxMetrics& m, int32_t height)
{
    if (group.inBand)
        return LayoutRect{group.rect.left, layout.bandTop, group.rect.left + m.bandColumnWidth, height};
    return LayoutRect{0, 0, m.paneWidth, height};
}

double Ratio(int32_t need, int32_t have)
{
    if (need <= 0)
        return 0.0;
    return have <= 0 ? 1e9 : double(need) / double(have);
}

}  // namespace

int32_t WrappedTextWidth(const ITextMeasure& measure, int font, std::string_view text, int lines)
{
    const std::vector<std::string_view> words = Words(text);
    if (words.empty())
        return 0;
    int32_t high = measure.TextWidth(font, text);
    if (lines <= 1)
        return high;
    int32_t low = 0;
    for (std::string_view word : words)
        low = std::max(low, measure.TextWidth(font, word));
    // The narrowest width at which the words take no more lines.
    while (low < high) {
        const int32_t mid = low + (high - low) / 2;
        const int taken = LinesAt(measure, font, text, words, mid);
        if (taken != 0 && taken <= lines)
            high = mid;
        else
            low = mid + 1;
    }
    return high;
}

int32_t PaneReserve(const BoxMetrics& m)
{
    // As the paint places them: the banner 1.5 + 5 small lines down, the
    // recording line's three lines from 2 x 1.5 small lines down.
    const int32_t h = m.smallTextHeight;
    const int32_t step = int32_t(1.5 * h);
    return std::max(step + 5 * h + m.captionHeight, 2 * step + 3 * h - 2);
}

double LayoutOverflow(const NumericsLayout& layout, const BoxMetrics& m, const ITextMeasure& measure, int32_t height)
{
    double worst = Ratio(layout.bannerY + PaneReserve(m), height);
    for (const PlannedBox& box : layout.boxes) {
        const PlannedGroup* group = layout.FindGroup(box.group);
        if (group == nullptr)
            continue;
        const LayoutRect room = GroupRoom(*group, layout, m, height);
        worst = std::max(worst, Ratio(box.rect.right - room.left, room.Width()));
        worst = std::max(worst, Ratio(box.rect.bottom - room.top, room.Height()));
        // The gain, filter and patient boxes are made but never shown.
        const bool neverShown = box.kind == BoxKind::Single &&
                                (box.index == kBoxGain || box.index == kBoxFilter || box.index == kBoxPatient);
        const std::string& text = box.sample.empty() ? box.text : box.sample;
        if (neverShown || text.empty())
            continue;
        const int32_t line = std::max(measure.LineHeight(box.font), 1);
        const int lines = std::max(box.rect.Height() / line, 1);
        worst = std::max(worst, Ratio(WrappedTextWidth(measure, box.font, text, lines), box.rect.Width()));
    }
    return worst;
}

ViewPlan PlanView(IViewFonts& fonts, const NumericsInput& input, int32_t logicalDpiY, const RemoteConfiguration& config)
{
    auto planAt = [&](double scale, double& over) {
        ViewPlan plan;
        fonts.CreateAt(scale);
        plan.metrics = MeasureBoxes(fonts, input.width, input.height, scale);
        plan.layout = PlanNumerics(input, plan.metrics, config);
        over = LayoutOverflow(plan.layout, plan.metrics, fonts, input.height);
        return plan;
    };
    double over = 0.0;
    double scale = ViewScale(input.width, input.height, logicalDpiY);
    ViewPlan plan = planAt(scale, over);
    if (over <= 1.0 || scale <= 0.0)
        return plan;

    // Down by the overflow (text shrinks with the scale, the columns widen as
    // the pane narrows, so this lands below what fits), then back up to the
    // largest scale that still fits.
    double tooLarge = scale;
    for (int step = 0; step < kMaxFitSteps && over > 1.0; ++step) {
        tooLarge = scale;
        scale *= std::min(0.97, 0.99 / over);
        plan = planAt(scale, over);
    }
    if (over > 1.0)
        return plan;
    for (int step = 0; step < kBisectSteps; ++step) {
        const double middle = (scale + tooLarge) / 2;
        ViewPlan tried = planAt(middle, over);
        if (over <= 1.0) {
            scale = middle;
            plan = std::move(tried);
        } else {
            tooLarge = middle;
        }
    }
    fonts.CreateAt(scale);
    return plan;
}
