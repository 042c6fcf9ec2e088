// The main window: one dialog with three pages of controls over a page bitmap, a menu, and the
// bottom bar. Its controls hold the whole job (ProjectSettings); everything the user does
// happens in its handlers or in the small modal dialogs it opens.
#pragma once

#include <QDialog>
#include <QHash>
#include <functional>
#include <vector>

#include "app/project_settings.h"
#include "publish/external_url_option.h"
#include "store/encoding_preset.h"
#include "store/preset_list.h"

class CPageTabButton;
class CSkinButton;
class CSkinProgress;
class QMenuBar;
namespace encode {
class EncodingRun;
}

class CMainDialog : public QDialog {
  Q_OBJECT

 public:
  // `startup_project_path` comes from the command line (empty for none).
  explicit CMainDialog(const QString& startup_project_path = {}, QWidget* parent = nullptr);
  ~CMainDialog() override;

  // Fixes the dialog font for the screen's DPI, initialises the window and runs it modally.
  int DoModal();
  // The same without the modal loop (the window is ready to show): what tests drive.
  void Create(double dpi);

  // How the Exit button and menu item end the process; tests replace it.
  void SetProcessExit(std::function<void(int)> exit_process) {
    exit_process_ = std::move(exit_process);
  }

  // Controls by id (res/resource.h).
  QWidget* Control(int id) const;
  template <typename T>
  T* ControlAs(int id) const {
    return qobject_cast<T*>(Control(id));
  }
  CSkinButton* SkinButton(int id) const;
  CSkinProgress* EncodingProgress() const;
  QWidget* ClientArea() const { return client_; }
  QMenuBar* MenuBar() const { return menu_bar_; }

  encode::EncodingRun& encoding_run() const { return *encoding_run_; }

  ProjectSettings& settings() { return settings_; }
  const ProjectSettings& settings() const { return settings_; }

  // Window state that goes with the job record.
  int current_page() const { return current_page_; }
  int background_id() const { return background_id_; }
  const QString& project_path() const { return project_path_; }
  bool modified() const { return modified_; }
  bool encoded() const { return encoded_; }
  bool published() const { return published_; }
  bool affiliate_enabled() const { return affiliate_enabled_; }
  bool redirect_enabled() const { return redirect_enabled_; }
  bool initialised() const { return initialised_; }
  const store::EncodingPreset& custom_preset() const { return custom_preset_; }
  const store::PresetList& presets() const { return presets_; }
  publish::ExternalUrlOption& players_url() { return players_url_; }
  publish::ExternalUrlOption& videos_url() { return videos_url_; }
  publish::ExternalUrlOption& js_url() { return js_url_; }

  // Operations other parts call.
  void InvalidateResults();
  void EnableEncodingControls(bool on);
  void CaptureCustomEncoding();
  void ApplyIButtonRule();
  void ApplyPreset();
  void DeleteSelectedPreset();
  void AddPresetFromControls(const QString& typed_name);
  // The results of a finished encoding run and of a produced page: their ticks show, and
  // Preview Web Page and Get Code become usable with the page.
  void ShowEncodedResult();
  void ShowPublishedResult();
  // The job as it stands is the one on disk (a project was opened or saved).
  void ClearModified() { modified_ = false; }
  // Writes a text into an edit as the program does: the edit's change handler runs even when
  // the text is the same, as a typed change would.
  void WriteEditText(QLineEdit* edit, const QString& text);

  // Pages.
  void GoToPage(int page);
  void ShowFilesPage(bool show);
  void ShowEncodingPage(bool show);
  void ShowPublishPage(bool show);

  // Projects.
  void OpenProject(const QString& path);
  bool LoadProject(const QString& path);
  void OnOpen();
  void OnSave();
  void OnSaveAs();

  // Menu commands and the exit.
  void OnCommand(int command_id);
  bool ConfirmExit();

 protected:
  void accept() override;  // Enter never closes the window
  void reject() override;  // Escape, the close box, Alt+F4: the exit sequence

 private:
  void CreateControls();
  void CreateMenu();
  void ConnectHandlers();
  void OnInitDialog();
  void FillLists();
  void LoadSettings();
  void SaveSettings();
  void OnAddPreset();
  void OnAdvancedOptions();
  void UpdateDeletePreset();
  void ApplyPresetPlacement(const store::PresetPlacement& placement);
  store::EncodingPreset EncodingValuesShown() const;
  bool SaveProjectTo(const QString& path);

  // Change handlers.
  void OnEditUpdate();
  void OnEncodingChoice();
  void OnEnableAudio();
  void OnPausedAtStart();
  void OnAffiliateLink();
  void OnRedirectUrl();
  void OnBack();
  void OnNext();
  void OnExitButton();
  void SetVisible(int id, bool visible);

  QString startup_project_path_;
  std::function<void(int)> exit_process_;
  QMenuBar* menu_bar_ = nullptr;
  QWidget* client_ = nullptr;  // 540 by 530 below the menu bar; paints the page bitmap
  QHash<int, QWidget*> controls_;
  ProjectSettings settings_;

  int current_page_ = 1;
  int background_id_;
  QString project_path_;
  bool modified_ = false;
  bool encoded_ = false;
  bool published_ = false;
  bool affiliate_enabled_ = false;
  bool redirect_enabled_ = false;
  bool initialised_ = false;

  store::PresetList presets_;            // row i of the preset list is presets_[i]
  store::EncodingPreset custom_preset_;  // the encoding values while no preset is chosen
  publish::ExternalUrlOption players_url_{publish::kPlayersUrlKey};
  publish::ExternalUrlOption videos_url_{publish::kVideosUrlKey};
  publish::ExternalUrlOption js_url_{publish::kJsUrlKey};

  encode::EncodingRun* encoding_run_ = nullptr;  // owned as a child
};
