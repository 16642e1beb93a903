#include "model/event.h"

Event::Event(int time, int status, std::span<const std::uint8_t> data, int data1, int data2,
             int data3)
    : Element("Event", Kind::Event, time, -1, 0),
      status_(status),
      data_(data.begin(), data.end()),
      data1_(data1),
      data2_(data2),
      data3_(data3) {}

void Event::setData(std::string_view text) {
    data_.assign(text.begin(), text.end());
    data3_ = static_cast<int>(text.size());
}
