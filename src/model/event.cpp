#include "model/event.h"

#include <algorithm>

#include "model/element_pool.h"

static_assert(sizeof(Event) <= ElementPool::kMaxBlockBytes);

Event::Event(int time, int status, std::span<const std::uint8_t> data, int data1, int data2,
             int data3)
    : Element(Kind::Event, time, -1, 0),
      status_(status),
      data1_(data1),
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
      fileUsPerQuarter_(other.fileUsPerQuarter_) {
    copyData(other.data());
}

int Event::bpmOf(std::uint32_t usPerQuarter) {
    return usPerQuarter == 0 ? 0 : static_cast<int>(10'000'000.0 / usPerQuarter * 6);
}

std::uint32_t Event::usPerQuarterOf(int bpm) {
    return bpm <= 0 ? 0 : static_cast<std::uint32_t>(10'000'000.0 / bpm * 6);
}

std::uint32_t Event::usPerQuarter() const {
    // An edited tempo no longer says what the file said: it is written from its bpm.
    if (fileUsPerQuarter_ != 0 && data2_ == bpmOf(fileUsPerQuarter_)) {
        return fileUsPerQuarter_;
    }
    return usPerQuarterOf(data2_);
}

void Event::setData(std::string_view text) {
    copyData({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    data3_ = static_cast<int>(text.size());
}

void Event::copyData(std::span<const std::uint8_t> data) {
    dataSize_ = static_cast<std::uint32_t>(data.size());
    data_.reset();
    if (!data.empty()) {
        data_ = std::make_unique_for_overwrite<std::uint8_t[]>(data.size());
        std::copy(data.begin(), data.end(), data_.get());
    }
}
