#include "model/event.h"

#include "model/element_pool.h"

static_assert(sizeof(Event) <= ElementPool::kMaxBlockBytes);

#include <algorithm>

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
      data3_(other.data3_) {
    copyData(other.data());
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
