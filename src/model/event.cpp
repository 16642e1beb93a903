#include "model/event.h"

#include <algorithm>
#include <cstring>

#include "model/element_pool.h"

static_assert(sizeof(Event) <= ElementPool::kMaxBlockBytes);
static_assert(sizeof(Event) <= 40, "an event should take no more than 40 bytes besides its block");

Event::Event(int time, int status, std::span<const std::uint8_t> data, int data1, int data2,
             int data3)
    : Element(Kind::Event, time, -1, 0),
      status_(static_cast<std::uint8_t>(std::clamp(status, 0, 0xFF))),
      data1_(narrowData1(data1)),
      data2_(data2),
      data3_(data3) {
    copyData(data);
}

Event::Event(const Event& other)
    : Element(other),
      status_(other.status_),
      data1_(other.data1_),
      data2_(other.data2_),
      data3_(other.data3_),
      fileDetail_(other.fileDetail_) {
    copyData(other.data());
}

int Event::bpmOf(std::uint32_t usPerQuarter) {
    return usPerQuarter == 0 ? 0 : static_cast<int>(10'000'000.0 / usPerQuarter * 6);
}

bool Event::fileKeeps(int status) {
    switch (status) {
        case 0xF0:
        case 0xF2:
        case 0xF3:
        case 0xF6:
        case 0xF7:
        case 0xF8:
        case 0xFE:
        case kStatusMeta:
            return true;
        default:
            return status >= 0xA0 && status < 0xF0;
    }
}

std::uint32_t Event::usPerQuarterOf(int bpm) {
    return bpm <= 0 ? 0 : static_cast<std::uint32_t>(10'000'000.0 / bpm * 6);
}

std::uint32_t Event::usPerQuarter() const {
    // An edited tempo no longer says what the file said: it is written from its bpm.
    if (fileDetail_ != 0 && data2_ == bpmOf(fileDetail_)) {
        return fileDetail_;
    }
    return usPerQuarterOf(data2_);
}

void Event::setData(std::string_view text) {
    copyData({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    data3_ = static_cast<int>(text.size());
}

void Event::setMetronome(std::uint8_t clocksPerClick, std::uint8_t thirtySecondsPerQuarter) {
    fileDetail_ = kHasMetronome | clocksPerClick << 8 | thirtySecondsPerQuarter;
}

std::array<std::uint8_t, 2> Event::metronome() const {
    if ((fileDetail_ & kHasMetronome) == 0) {
        return {0x24, 0x08};
    }
    return {static_cast<std::uint8_t>(fileDetail_ >> 8), static_cast<std::uint8_t>(fileDetail_)};
}

std::span<const std::uint8_t> Event::data() const {
    if (block_ == nullptr) {
        return {};
    }
    std::uint32_t size = 0;
    std::memcpy(&size, block_.get(), kBlockHeader);
    return {block_.get() + kBlockHeader, size};
}

void Event::copyData(std::span<const std::uint8_t> data) {
    block_.reset();
    if (!data.empty()) {
        const auto size = static_cast<std::uint32_t>(data.size());
        block_ = std::make_unique_for_overwrite<std::uint8_t[]>(kBlockHeader + size);
        std::memcpy(block_.get(), &size, kBlockHeader);
        std::copy(data.begin(), data.end(), block_.get() + kBlockHeader);
    }
}
