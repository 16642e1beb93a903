#include "staff/staff_page.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "model/beat_division.h"
#include "model/omb_data.h"

namespace {

constexpr double kIntMin = std::numeric_limits<int>::min();
constexpr double kIntMax = std::numeric_limits<int>::max();

// Truncates towards zero into the int range: bars and ticks far beyond 32 bits saturate
// instead of overflowing.
int truncatedInt(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    return static_cast<int>(std::clamp(std::trunc(value), kIntMin, kIntMax));
}

// Bar numbers past the last int stay there instead of overflowing.
int saturatedBar(std::int64_t bar) {
    return static_cast<int>(std::min<std::int64_t>(bar, std::numeric_limits<int>::max()));
}

}  // namespace

StaffPage::StaffPage(const OMBData& song, int barsPerPage)
    : song_(song),
      barsPerPage_(isValidBarsPerPage(barsPerPage) ? barsPerPage : kDefaultBarsPerPage),
      visibleBars_(barsPerPage_) {}

bool StaffPage::setBarsPerPage(int barsPerPage) {
    if (!isValidBarsPerPage(barsPerPage)) {
        return false;
    }
    barsPerPage_ = barsPerPage;
    fitVisibleBars(limitX_);
    return true;
}

void StaffPage::setFirstBar(int bar) {
    firstBar_ = std::max(bar, 1);
}

void StaffPage::goToBar(int barsBefore) {
    setFirstBar(saturatedBar(std::int64_t{barsBefore} + 1));
}

void StaffPage::fitVisibleBars(int limitX) {
    limitX_ = limitX;
    // barLineX(k) < limitX holds exactly while k x kPageWidth < (limitX - kPageLeft) x
    // barsPerPage, because barsPerPage divides kPageWidth.
    const std::int64_t room = (std::int64_t{limitX} - kPageLeft) * barsPerPage_;
    const std::int64_t whole = room > 0 ? (room - 1) / kPageWidth : 0;
    visibleBars_ = std::max(saturatedBar(whole), 1);
}

int StaffPage::barLineX(int barsFromPageStart) const {
    return truncatedInt(kPageLeft +
                        static_cast<double>(barsFromPageStart) * kPageWidth / barsPerPage_);
}

double StaffPage::barTicks() const {
    return exactBarTicks(song_.timeSignature, song_.timeDivision);
}

int StaffPage::ticksPerBar() const {
    return truncatedInt(barTicks());
}

double StaffPage::ticksPerPage() const {
    return barsPerPage_ * barTicks();
}

double StaffPage::exactPageStart() const {
    return (firstBar_ - 1.0) * barTicks();
}

int StaffPage::pageStartTick() const {
    return truncatedInt(exactPageStart());
}

int StaffPage::barOf(int tick) const {
    const int ticksPerBar = this->ticksPerBar();
    if (ticksPerBar <= 0) {
        return 1;
    }
    return saturatedBar(std::int64_t{tick / ticksPerBar} + 1);
}

int StaffPage::TickToX(int tick) const {
    const double ticksPerPage = this->ticksPerPage();
    const double pageStart = std::trunc(exactPageStart());
    // Every tick before the start is off the page, even one that lies less than a pixel
    // before it and would otherwise truncate to the page's left edge.
    if (ticksPerPage <= 0 || tick < pageStart) {
        return 0;
    }
    const double offset = std::trunc(kPageWidth * (tick - pageStart) / ticksPerPage);
    return truncatedInt(std::min(offset, kIntMax - kPageLeft) + kPageLeft);
}

int StaffPage::XToTick(int x) const {
    const double ticksPerPage = this->ticksPerPage();
    if (ticksPerPage <= 0) {
        return 0;
    }
    // Scaling by the page's ticks rather than dividing by the pixels per quarter note keeps
    // whole ticks whole: 552 / (bars x quarters) is rarely exact in double, and a pixel
    // worth exactly 400 ticks would come back as 399.
    return truncatedInt((x - kPageLeft) * ticksPerPage / kPageWidth + exactPageStart());
}

void StaffPage::nextPage() {
    setFirstBar(saturatedBar(std::int64_t{firstBar_} + visibleBars_));
}

void StaffPage::previousPage() {
    setFirstBar(firstBar_ - visibleBars_);
}

bool StaffPage::TurnPageTo(int tick) {
    const int bar = barOf(tick);
    if (bar <= std::int64_t{firstBar_} + visibleBars_ - 1) {
        return false;
    }
    firstBar_ = bar;
    return true;
}

bool StaffPage::bringIntoView(int tick) {
    const int bar = barOf(tick);
    if (bar >= firstBar_ && bar <= std::int64_t{firstBar_} + visibleBars_ - 1) {
        return false;
    }
    firstBar_ = bar;
    return true;
}
