#include "outside/metastamp/script_tag.h"

#include <cmath>
#include <string_view>

#include "outside/metastamp/amf0.h"

namespace metastamp {

namespace {

constexpr std::string_view kOnMetaData = "onMetaData";

std::optional<uint32_t> PlausibleSide(std::optional<double> value) {
  if (!value || !std::isfinite(*value)) return std::nullopt;
  const double rounded = std::round(*value);
  if (rounded < 1 || rounded > 65535) return std::nullopt;
  return static_cast<uint32_t>(rounded);
}

}  // namespace

bool IsOnMetaData(std::span<const uint8_t> body) {
  Amf0Reader reader(body);
  const auto name = reader.Read();
  return name && name->type == Amf0Type::kString && name->text == kOnMetaData;
}

std::optional<FrameSize> MetadataFrameSize(std::span<const uint8_t> body) {
  Amf0Reader reader(body);
  const auto name = reader.Read();
  if (!name || name->type != Amf0Type::kString || name->text != kOnMetaData) return std::nullopt;
  std::optional<double> width, height;
  // A body cut short still yields the properties read before the cut.
  reader.ReadProperties([&](std::string_view key, const Amf0Value& value) {
    if (value.type != Amf0Type::kNumber) return;
    if (key == "width" && !width) width = value.number;
    if (key == "height" && !height) height = value.number;
  });
  const auto w = PlausibleSide(width);
  const auto h = PlausibleSide(height);
  if (!w || !h) return std::nullopt;
  return FrameSize{*w, *h};
}

}  // namespace metastamp
