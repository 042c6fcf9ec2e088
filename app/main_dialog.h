// The main window: one dialog with three pages of controls over a page bitmap, a menu, and the
// bottom bar. Its controls hold the whole job (ProjectSettings); everything the user does
// happens in its handlers or in the small modal dialogs it opens. It is the only code that
// knows its controls: it reads the job from them (JobFromControls), calls encode/ and publish/
// with plain values, writes their results back and acts on their signals.
#pragma once

#include <QDialog>
#include <QHash>
#include <QList>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

#include "app/project_settings.h"
#include "publish/player_skin.h"
#include "store/encoding_preset.h"
#include "store/external_url_option.h"
#include "store/preset_list.h"
#include "store/project_snapshot.h"

class CSkinButton;
class CSkinProgress;
class QMenuBar;
namespace encode {
class EncodingRun;
struct InputSelection;
}  // namespace encode
namespace publish {
struct PublishJob;
class PreviewServer;
}  // namespace publish

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

  // Controls by id (res/resource.h), and the job's controls by field.
  QWidget* Control(int id) const { return controls_.value(id, nullptr); }
  template <typename T>
  T* ControlAs(int id) const {
    return qobject_cast<T*>(Control(id));
  }
  ProjectSettings& settings() { return settings_; }
  QWidget* ClientArea() const { return client_; }
  QMenuBar* MenuBar() const { return menu_bar_; }
  CSkinProgress* EncodingProgress() const;
  encode::EncodingRun& encoding_run() const { return *encoding_run_; }
  // The external locations the Advanced Options dialog edits.
  store::ExternalUrlOption& players_url() { return players_url_; }
  store::ExternalUrlOption& videos_url() { return videos_url_; }
  store::ExternalUrlOption& js_url() { return js_url_; }
  bool& publish_mp4() { return publish_mp4_; }

  // What the window holds beside its controls, for tests to read.
  struct StateView {
    int current_page;
    int background_id;
    QString project_path;
    bool modified;
    bool encoded;
    bool published;
    bool affiliate_enabled;
    bool redirect_enabled;
    bool encoding_enabled;
    bool initialised;
    store::EncodingPreset custom_preset;
    store::PresetList presets;
  };
  StateView State() const;

  // What the user does without a control of the window's own: a menu command, a page tab, a
  // project named on the command line or chosen with Open.
  void OnCommand(int command_id);
  void GoToPage(int page);
  void OpenProject(const QString& path);

  // The one owner of the current project: its path, the modified flag and the title. An empty
  // path is no project ("Reelwright").
  void SetCurrentProject(const QString& path);

  // Switches the encoding page's controls (a video to encode or none), and shows the results of
  // a finished encoding run and of a produced page: their ticks show, and Preview Web Page and
  // Get Code become usable with the page.
  void EnableEncodingControls(bool on);
  void ShowEncodedResult();
  void ShowPublishedResult();
  // Save Preset with the name typed into its dialog.
  void AddPresetFromControls(const QString& typed_name);

  // Publishing (main_dialog_publish.cpp): the players found in the resources folder, the page
  // of the last publish, and the preview server once a preview has started it (else null).
  const std::vector<publish::PlayerSkin>& player_list() const { return player_list_; }
  const QString& generated_html() const { return generated_html_; }
  const QString& generated_script() const { return generated_script_; }
  const publish::PreviewServer* preview_server() const { return preview_server_.get(); }
  // Draws the player's picture into the player page's picture control; nothing for an index
  // that denotes no player.
  void ShowPlayerPreview(int index);

 protected:
  void accept() override;  // Enter never closes the window
  void reject() override;  // Escape, the close box, Alt+F4: the exit sequence
  void keyPressEvent(QKeyEvent* event) override;  // Escape during a run stops it
  // A video, an FLV or a project dropped onto the window (main_dialog_drop.cpp).
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Start-up and the program's files.
  void CreateMenu();
  void ConnectHandlers();
  void ConnectEncodingRun();
  void OnInitDialog();
  void FillLists();
  void LoadSettings();
  void SaveSettings();
  bool ConfirmExit();

  // The job: read from the controls, loaded into them, saved, encoded (main_dialog_job.cpp).
  store::ProjectSnapshot JobFromControls() const;
  bool LoadProject(const QString& path);
  void ShowLoadedLine(const store::ProjectLine& line, const store::ProjectSnapshot& job);
  bool SaveProjectTo(const QString& path);
  void OnOpen();
  // True when the job was saved; false when the save was cancelled or failed (and said so).
  bool OnSave();
  bool OnSaveAs();
  void OnStartEncoding();
  void AcceptDroppedFiles();
  // While a run goes, the window takes no input but Stop Encoding (Start Encoding's place).
  void ShowRunning(bool running);

  // Publishing (main_dialog_publish.cpp).
  void ConnectPublishHandlers();
  publish::PublishJob PublishJobFromControls() const;
  void OnProducePage();
  void OnPreviewPage();
  void OnGetCode();
  void OnCustomizePlayer();
  void SelectFirstPlayer();
  void ShowChosenPlayer();
  void StopPreview();

  // Presets.
  void ApplyPreset();
  void DeleteSelectedPreset();
  void OnAddPreset();
  void UpdateDeletePreset();
  void ApplyPresetPlacement(const store::PresetPlacement& placement);
  void CaptureCustomEncoding();

  // Pages.
  // The tabs draw the shown page's bitmap, and the shown page's tab is the selected one.
  void MarkShownPageTab();
  void ShowFilesPage(bool show);
  void ShowEncodingPage(bool show);
  void ShowPublishPage(bool show);
  void OnBack();
  void OnNext();

  // Change handlers and the rules between controls.
  void InvalidateResults();
  // Writes a text into an edit as the program does: the edit's change handler runs even when
  // the text is the same, as a typed change would.
  void WriteEditText(QLineEdit* edit, const QString& text);
  void ApplyInputSelection(const encode::InputSelection& selection);
  void OnBrowseOutputFolder();
  void OnEditUpdate();
  void OnEncodingChoice();
  void OnEnableAudio();
  void OnPausedAtStart();
  void OnAffiliateLink();
  void OnRedirectUrl();
  void ApplyIButtonRule();
  void OnAdvancedOptions();
  void OnExitButton();
  CSkinButton* SkinButton(int id) const;
  void SetVisible(int id, bool visible);

  QString startup_project_path_;
  std::function<void(int)> exit_process_;
  QMenuBar* menu_bar_ = nullptr;
  QWidget* client_ = nullptr;  // 540 by 530 below the menu bar; paints the page bitmap
  QHash<int, QWidget*> controls_;
  QList<QPointer<QWidget>> held_while_running_;  // what ShowRunning(true) disabled
  ProjectSettings settings_;

  int current_page_ = 1;
  int background_id_;
  QString project_path_;
  bool modified_ = false;
  bool encoded_ = false;
  bool published_ = false;
  bool affiliate_enabled_ = false;
  bool redirect_enabled_ = false;
  bool encoding_enabled_ = true;  // the controls are made usable
  bool initialised_ = false;

  bool settings_read_whole_ = true;      // false: the settings file is left as it is at exit
  store::PresetList presets_;            // row i of the preset list is presets_[i]
  store::EncodingPreset custom_preset_;  // the encoding values while no preset is chosen
  store::ExternalUrlOption players_url_{store::kPlayersUrlKey};
  store::ExternalUrlOption videos_url_{store::kVideosUrlKey};
  store::ExternalUrlOption js_url_{store::kJsUrlKey};
  bool publish_mp4_ = true;  // the Advanced Options choice, kept in the settings file

  encode::EncodingRun* encoding_run_ = nullptr;  // owned as a child

  std::vector<publish::PlayerSkin> player_list_;  // rebuilt by every scan
  QString generated_html_;                        // texts of the last page generation
  QString generated_script_;
  std::unique_ptr<publish::PreviewServer> preview_server_;  // started by the first preview
};
