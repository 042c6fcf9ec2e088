// H.264 in FLV: the sequence header tag holds an AVCDecoderConfigurationRecord, whose first
// sequence parameter set gives the coded size in macroblocks and the cropping that turns it into
// the displayed size (how 1080 lines are coded as 1088, or 122 as 128).
#include <vector>

#include "outside/metastamp/bit_reader.h"
#include "outside/metastamp/flv_format.h"
#include "outside/metastamp/picture_size.h"

namespace metastamp {

namespace {

constexpr uint8_t kNalSequenceParameterSet = 7;
constexpr size_t kMaxSpsBytes = 1024;  // real ones are a few dozen bytes
constexpr uint64_t kMaxSide = 65535;

// The payload of a NAL unit without the emulation prevention bytes (00 00 03 -> 00 00).
std::vector<uint8_t> RawPayload(std::span<const uint8_t> nal) {
  std::vector<uint8_t> raw;
  raw.reserve(nal.size());
  int zeros = 0;
  for (const uint8_t byte : nal) {
    if (zeros >= 2 && byte == 3) {
      zeros = 0;
      continue;
    }
    zeros = byte == 0 ? zeros + 1 : 0;
    raw.push_back(byte);
  }
  return raw;
}

bool HasChromaFormat(uint32_t profile_idc) {
  switch (profile_idc) {
    case 100:
    case 110:
    case 122:
    case 244:
    case 44:
    case 83:
    case 86:
    case 118:
    case 128:
    case 138:
    case 139:
    case 134:
    case 135:
      return true;
    default:
      return false;
  }
}

void SkipScalingList(BitReader& bits, int size) {
  int last_scale = 8;
  int next_scale = 8;
  for (int j = 0; j < size && bits.ok(); ++j) {
    if (next_scale != 0) {
      const int32_t delta = bits.SignedGolomb();
      next_scale = static_cast<int>((last_scale + int64_t{delta} % 256 + 512) % 256);
    }
    if (next_scale != 0) last_scale = next_scale;
  }
}

}  // namespace

std::optional<FrameSize> AvcSpsSize(std::span<const uint8_t> nal) {
  if (nal.empty() || (nal[0] & 0x1F) != kNalSequenceParameterSet) return std::nullopt;
  const std::vector<uint8_t> raw =
      RawPayload(nal.subspan(1, std::min(nal.size() - 1, kMaxSpsBytes)));
  BitReader bits(raw);

  const uint32_t profile_idc = bits.Bits(8);
  bits.Skip(8 + 8);  // constraint flags, level
  bits.Golomb();     // seq_parameter_set_id
  uint32_t chroma_format_idc = 1;
  bool separate_colour_planes = false;
  if (HasChromaFormat(profile_idc)) {
    chroma_format_idc = bits.Golomb();
    if (chroma_format_idc > 3) return std::nullopt;
    if (chroma_format_idc == 3) separate_colour_planes = bits.Bit();
    bits.Golomb();     // bit_depth_luma_minus8
    bits.Golomb();     // bit_depth_chroma_minus8
    bits.Skip(1);      // qpprime_y_zero_transform_bypass_flag
    if (bits.Bit()) {  // seq_scaling_matrix_present_flag
      const int lists = chroma_format_idc == 3 ? 12 : 8;
      for (int i = 0; i < lists && bits.ok(); ++i) {
        if (bits.Bit()) SkipScalingList(bits, i < 6 ? 16 : 64);
      }
    }
  }
  bits.Golomb();  // log2_max_frame_num_minus4
  const uint32_t pic_order_cnt_type = bits.Golomb();
  if (pic_order_cnt_type == 0) {
    bits.Golomb();  // log2_max_pic_order_cnt_lsb_minus4
  } else if (pic_order_cnt_type == 1) {
    bits.Skip(1);         // delta_pic_order_always_zero_flag
    bits.SignedGolomb();  // offset_for_non_ref_pic
    bits.SignedGolomb();  // offset_for_top_to_bottom_field
    const uint32_t cycle = bits.Golomb();
    if (cycle > 255) return std::nullopt;
    for (uint32_t i = 0; i < cycle && bits.ok(); ++i) bits.SignedGolomb();
  } else if (pic_order_cnt_type > 2) {
    return std::nullopt;
  }
  bits.Golomb();  // max_num_ref_frames
  bits.Skip(1);   // gaps_in_frame_num_value_allowed_flag
  const uint64_t width_in_mbs = uint64_t{bits.Golomb()} + 1;
  const uint64_t height_in_map_units = uint64_t{bits.Golomb()} + 1;
  const bool frame_mbs_only = bits.Bit();
  if (!frame_mbs_only) bits.Skip(1);  // mb_adaptive_frame_field_flag
  bits.Skip(1);                       // direct_8x8_inference_flag
  uint64_t crop_left = 0, crop_right = 0, crop_top = 0, crop_bottom = 0;
  if (bits.Bit()) {
    crop_left = bits.Golomb();
    crop_right = bits.Golomb();
    crop_top = bits.Golomb();
    crop_bottom = bits.Golomb();
  }
  if (!bits.ok()) return std::nullopt;

  // Cropping counts in chroma samples, and in pairs of lines where frames are coded as fields.
  const uint64_t field_factor = frame_mbs_only ? 1 : 2;
  const uint64_t chroma_array_type = separate_colour_planes ? 0 : chroma_format_idc;
  const uint64_t crop_unit_x = (chroma_array_type == 1 || chroma_array_type == 2) ? 2 : 1;
  const uint64_t crop_unit_y = (chroma_array_type == 1 ? 2 : 1) * field_factor;
  const uint64_t coded_width = width_in_mbs * 16;
  const uint64_t coded_height = height_in_map_units * 16 * field_factor;
  const uint64_t cut_x = (crop_left + crop_right) * crop_unit_x;
  const uint64_t cut_y = (crop_top + crop_bottom) * crop_unit_y;
  if (cut_x >= coded_width || cut_y >= coded_height) return std::nullopt;
  const uint64_t width = coded_width - cut_x;
  const uint64_t height = coded_height - cut_y;
  if (width > kMaxSide || height > kMaxSide) return std::nullopt;
  return FrameSize{static_cast<uint32_t>(width), static_cast<uint32_t>(height)};
}

std::optional<FrameSize> AvcSequenceHeaderSize(std::span<const uint8_t> data) {
  // AVCPacketType, a 24-bit composition time, then the configuration record: version,
  // profile, compatibility, level, length size, and the count of parameter sets.
  constexpr size_t kRecordAt = 4;
  constexpr size_t kFirstSpsAt = kRecordAt + 6;
  if (data.size() < kFirstSpsAt + 2 || data[0] != kAvcSequenceHeader) return std::nullopt;
  const auto record = data.subspan(kRecordAt);
  if (record[0] != 1 || (record[5] & 0x1F) == 0) return std::nullopt;
  const size_t sps_size = ReadU16(data.subspan(kFirstSpsAt));
  const auto sps = data.subspan(kFirstSpsAt + 2);
  if (sps.size() < sps_size) return std::nullopt;
  return AvcSpsSize(sps.first(sps_size));
}

}  // namespace metastamp
