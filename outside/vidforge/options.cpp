#include "outside/vidforge/options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <numeric>
#include <string_view>

namespace vidforge {
namespace {

// The frame sizes and bit rates a Flash player copes with; anything beyond is a typo.
constexpr int kMaxFrameSide = 4096;
constexpr int kMaxVideoKbits = 100000;
constexpr int kMinAudioKbits = 8;
constexpr int kMaxAudioKbits = 320;
constexpr int kMaxFrameRate = 1000;
// FLV has room for MP3 only at these sampling rates.
constexpr std::array kFlvMp3Rates = {11025, 22050, 44100};

constexpr std::array<std::string_view, 10> kOptionNames = {"-i", "-vstats", "-y",  "-s",  "-r",
                                                           "-b", "-ab",     "-ar", "-ac", "-an"};

bool IsOptionName(std::string_view arg) {
  return std::find(kOptionNames.begin(), kOptionNames.end(), arg) != kOptionNames.end();
}

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

// A plain decimal number without sign, within [min, max]; nothing else.
std::optional<int> ParseWholeNumber(std::string_view text, int min, int max) {
  if (text.empty() ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < min || value > max)
    return std::nullopt;
  return value;
}

std::optional<FrameSize> ParseFrameSize(std::string_view text) {
  const size_t x = text.find('x');
  if (x == std::string_view::npos) return std::nullopt;
  auto width = ParseWholeNumber(text.substr(0, x), 1, kMaxFrameSide);
  auto height = ParseWholeNumber(text.substr(x + 1), 1, kMaxFrameSide);
  if (!width || !height) return std::nullopt;
  return FrameSize{*width, *height};
}

// "25", "7.5", "29.97": up to three decimals, kept as an exact fraction.
std::optional<FrameRate> ParseFrameRate(std::string_view text) {
  const size_t point = text.find('.');
  std::string_view whole = text.substr(0, point);
  std::string_view fraction = point == std::string_view::npos ? "" : text.substr(point + 1);
  if (point != std::string_view::npos && (fraction.empty() || fraction.size() > 3))
    return std::nullopt;
  if (whole.empty()) return std::nullopt;
  auto whole_value = ParseWholeNumber(whole, 0, kMaxFrameRate);
  auto fraction_value =
      fraction.empty() ? std::optional<int>(0) : ParseWholeNumber(fraction, 0, 999);
  if (!whole_value || !fraction_value) return std::nullopt;
  int den = 1;
  for (size_t i = 0; i < fraction.size(); ++i) den *= 10;
  const int num = *whole_value * den + *fraction_value;
  if (num == 0 || num > kMaxFrameRate * den) return std::nullopt;
  const int divisor = std::gcd(num, den);
  return FrameRate{num / divisor, den / divisor};
}

[[noreturn]] void ThrowBadValue(std::string_view option, std::string_view expected,
                                std::string_view value) {
  throw UsageError(std::string(option) + " needs " + std::string(expected) + ", got " +
                   Quoted(value));
}

}  // namespace

EncoderOptions ParseOptions(const std::vector<std::string>& args) {
  if (args.empty()) throw UsageError("no input and output given");
  EncoderOptions options;
  // The output path always comes last and may itself begin with "-".
  options.output = args.back();
  if (options.output.empty() || IsOptionName(options.output))
    throw UsageError("the output file is missing (it comes last)");

  bool no_audio = false;
  std::optional<int> audio_kbits, sample_rate, channels;
  const size_t option_count = args.size() - 1;
  for (size_t i = 0; i < option_count; ++i) {
    const std::string& name = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= option_count) throw UsageError(name + " needs a value");
      return args[++i];
    };
    if (name == "-i") {
      options.input = value();
      if (options.input.empty()) throw UsageError("-i needs an input file");
    } else if (name == "-vstats") {
      options.write_progress = true;
    } else if (name == "-y") {
      options.overwrite = true;
    } else if (name == "-an") {
      no_audio = true;
    } else if (name == "-s") {
      const std::string& text = value();
      options.size = ParseFrameSize(text);
      if (!options.size) ThrowBadValue(name, "a frame size WIDTHxHEIGHT", text);
    } else if (name == "-r") {
      const std::string& text = value();
      options.rate = ParseFrameRate(text);
      if (!options.rate) ThrowBadValue(name, "a frame rate such as 15 or 7.5", text);
    } else if (name == "-b") {
      const std::string& text = value();
      auto kbits = ParseWholeNumber(text, 1, kMaxVideoKbits);
      if (!kbits) ThrowBadValue(name, "a video bit rate in kbit/s", text);
      options.video_bit_rate_kbits = *kbits;
    } else if (name == "-ab") {
      const std::string& text = value();
      audio_kbits = ParseWholeNumber(text, kMinAudioKbits, kMaxAudioKbits);
      if (!audio_kbits) ThrowBadValue(name, "an audio bit rate in kbit/s (8 to 320)", text);
    } else if (name == "-ar") {
      const std::string& text = value();
      sample_rate = ParseWholeNumber(text, 1, 1000000);
      if (!sample_rate ||
          std::find(kFlvMp3Rates.begin(), kFlvMp3Rates.end(), *sample_rate) == kFlvMp3Rates.end())
        ThrowBadValue(name, "a sampling rate of 11025, 22050 or 44100", text);
    } else if (name == "-ac") {
      const std::string& text = value();
      channels = ParseWholeNumber(text, 1, 2);
      if (!channels) ThrowBadValue(name, "1 or 2 channels", text);
    } else {
      throw UsageError("unknown option " + Quoted(name));
    }
  }

  if (options.input.empty()) throw UsageError("no input file given (-i)");
  if (options.video_bit_rate_kbits == 0) throw UsageError("no video bit rate given (-b)");
  if (!no_audio) {
    if (!audio_kbits || !sample_rate || !channels)
      throw UsageError("audio needs -ab, -ar and -ac, or -an for none");
    options.audio = AudioSettings{*audio_kbits, *sample_rate, *channels};
  }
  return options;
}

}  // namespace vidforge
