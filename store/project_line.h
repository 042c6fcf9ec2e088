// The lines of a project file. A line belongs to the first key of kProjectKeys that occurs
// anywhere in it, in exact case; its value is the text after the line's first "=" (the whole
// line when it has none), taken in the key's form.
#pragma once

#include <QString>
#include <array>
#include <optional>

namespace store {

enum class ProjectKey {
  Title,
  InputVideo,
  InputFlv,
  OutputFolder,
  OutputVideo,
  OutputHtml,
  Preset,
  Resolution,
  FrameRate,
  VideoBitrate,
  AudioBitrate,
  SamplingRate,
  BufferSize,
  EnableAudio,
  AudioMono,
  PausedAtStart,
  PreloadMovie,
  DisableIButton,
  ShowBorder,
  EnableLink,
  AffiliateId,
  EnableRedirectUrl,
  RedirectUrl,
  WhichFile,
  WhichPlayer,
  PlayersUrl,
  VideosUrl,
  JsUrl,
};

enum class ValueForm {
  Text,       // the value unchanged
  Name,       // the value without surrounding white space
  Number,     // a decimal integer at the start of the trimmed value, if there is one
  Flag,       // on unless the trimmed value is exactly "0"
  UrlOption,  // the whole line, for ExternalUrlOption::ParseUrlOptionLine
};

struct ProjectKeyInfo {
  ProjectKey key;
  const char* text;
  ValueForm form;
};

// Every key in the order a line is tested: the job's keys, then the three external locations.
inline constexpr std::array<ProjectKeyInfo, 28> kProjectKeys{{
    {ProjectKey::Title, "TITLE=", ValueForm::Text},
    {ProjectKey::InputVideo, "IPVIDEO=", ValueForm::Text},
    {ProjectKey::InputFlv, "IPFLV=", ValueForm::Text},
    {ProjectKey::OutputFolder, "OPFOLDER=", ValueForm::Text},
    {ProjectKey::OutputVideo, "OPVIDEO=", ValueForm::Text},
    {ProjectKey::OutputHtml, "OPHTML=", ValueForm::Text},
    {ProjectKey::Preset, "PRESET", ValueForm::Name},
    {ProjectKey::Resolution, "RESOLUTION", ValueForm::Number},
    {ProjectKey::FrameRate, "FRAMERATE", ValueForm::Number},
    {ProjectKey::VideoBitrate, "VIDEOBITRATE", ValueForm::Number},
    {ProjectKey::AudioBitrate, "AUDIOBITRATE", ValueForm::Number},
    {ProjectKey::SamplingRate, "SAMPLINGRATE", ValueForm::Number},
    {ProjectKey::BufferSize, "BUFFERSIZE", ValueForm::Number},
    {ProjectKey::EnableAudio, "ENABLEAUDIO", ValueForm::Flag},
    {ProjectKey::AudioMono, "AUDIOMONO", ValueForm::Flag},
    {ProjectKey::PausedAtStart, "PAUSEDATSTART", ValueForm::Flag},
    {ProjectKey::PreloadMovie, "PRELOADMOVIE", ValueForm::Flag},
    {ProjectKey::DisableIButton, "DISABLEIBUTTON", ValueForm::Flag},
    {ProjectKey::ShowBorder, "SHOWBORDER", ValueForm::Flag},
    {ProjectKey::EnableLink, "ENABLELINK", ValueForm::Flag},
    {ProjectKey::AffiliateId, "AFFILID=", ValueForm::Text},
    {ProjectKey::EnableRedirectUrl, "ENABLEREDIRECTURL", ValueForm::Flag},
    {ProjectKey::RedirectUrl, "REDIRURL=", ValueForm::Text},
    {ProjectKey::WhichFile, "WHICHFILE", ValueForm::Number},
    {ProjectKey::WhichPlayer, "WHICHPLAYER", ValueForm::Number},
    {ProjectKey::PlayersUrl, "PLAYERSURL", ValueForm::UrlOption},
    {ProjectKey::VideosUrl, "VIDEOSURL", ValueForm::UrlOption},
    {ProjectKey::JsUrl, "JSURL", ValueForm::UrlOption},
}};

constexpr const ProjectKeyInfo& InfoOf(ProjectKey key) {
  return kProjectKeys[size_t(key)];
}

constexpr bool KeysInEnumOrder() {
  for (size_t i = 0; i < kProjectKeys.size(); ++i) {
    if (size_t(kProjectKeys[i].key) != i) return false;
  }
  return true;
}
static_assert(KeysInEnumOrder(), "InfoOf indexes kProjectKeys by ProjectKey");

struct ProjectLine {
  ProjectKey key;
  ValueForm form;
  QString text;               // Text and Name forms; the whole line for UrlOption
  std::optional<int> number;  // Number form: empty when the value holds no number
  bool flag = false;          // Flag form
};

// The key the line belongs to and its value; nothing for a line that holds no key.
std::optional<ProjectLine> ClassifyProjectLine(const QString& line);

}  // namespace store
