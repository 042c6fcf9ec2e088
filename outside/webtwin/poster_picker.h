// The poster: the first picture of the video that is not black (a fade-in or a dark title
// second shows nothing of the film), as a JPEG at the video's display size. When every picture
// is black, the first one.
#pragma once

#include <filesystem>

#include "outside/vidforge/av_owners.h"

namespace webtwin {

class PosterPicker {
 public:
  explicit PosterPicker(std::filesystem::path final_path);

  // Looks at a decoded picture; once one has been chosen, later ones are not looked at.
  void Offer(const AVFrame& decoded);
  // Whether the poster's picture has been found.
  bool chosen() const { return chosen_; }
  // Writes the JPEG beside the output's name and gives it the name. Throws when no picture
  // was offered.
  void Write();

 private:
  vidforge::FramePtr ToDisplayPicture(const AVFrame& decoded);

  std::filesystem::path final_path_;
  vidforge::ScalerPtr scaler_;
  vidforge::FramePtr first_;   // the first picture, while nothing better is known
  vidforge::FramePtr picked_;  // the first picture that is not black
  bool chosen_ = false;
};

// The mean brightness of the picture's luma plane, 0 (black) to 255, for a picture in
// full-range YUV.
double MeanLuma(const AVFrame& picture);

}  // namespace webtwin
