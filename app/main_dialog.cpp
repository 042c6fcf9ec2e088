// The main window's construction, start-up, menu and exit.
#include "app/main_dialog.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QMenuBar>
#include <QPainter>
#include <cstdio>
#include <cstdlib>

#include "app/about_dialog.h"
#include "app/list_contents.h"
#include "app/support_page.h"
#include "encode/encode_video_dialog.h"
#include "encode/encoding_run.h"
#include "platform/prompter.h"
#include "platform/user_files.h"
#include "publish/preview_server.h"
#include "res/bitmaps.h"
#include "res/main_template.h"
#include "res/resource.h"
#include "ui/control_factory.h"
#include "ui/dialog_font.h"
#include "ui/skin_palette.h"
#include "ui/page_tab_button.h"
#include "ui/skin_button.h"
#include "ui/skin_progress.h"

namespace {

// The client area: paints the current page bitmap on every paint, loaded afresh each time.
class PageCanvas : public QWidget {
 public:
  PageCanvas(const CMainDialog* dialog, QWidget* parent) : QWidget(parent), dialog_(dialog) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QImage page = LoadBitmapResource(dialog_->State().background_id);
    if (page.isNull())
      painter.fillRect(rect(), palette().window());
    else
      painter.drawImage(QPoint(0, 0), page, QRect(0, 0, 540, 530));
  }

 private:
  const CMainDialog* dialog_;
};

struct ButtonBitmaps {
  int id, normal, pressed, hover, disabled;
};

// The faces of every skinned button of the main window.
constexpr ButtonBitmaps kButtonBitmaps[] = {
    {IDC_BROWSE_VIDEO, IDB_BROWSE, IDB_BROWSE_PRESSED, IDB_BROWSE_HOVER, -1},
    {IDC_BROWSE_FLV, IDB_BROWSE, IDB_BROWSE_PRESSED, IDB_BROWSE_HOVER, -1},
    {IDC_BROWSE_FOLDER, IDB_BROWSE, IDB_BROWSE_PRESSED, IDB_BROWSE_HOVER, -1},
    {IDC_PRODUCE_PAGE, IDB_PRODUCE, IDB_PRODUCE_PRESSED, IDB_PRODUCE_HOVER, -1},
    {IDC_PREVIEW_PAGE, IDB_PREVIEW, IDB_PREVIEW_PRESSED, IDB_PREVIEW_HOVER, IDB_PREVIEW_DISABLED},
    {IDC_OPEN, IDB_OPEN, IDB_OPEN_PRESSED, IDB_OPEN_HOVER, -1},
    {IDC_SAVE, IDB_SAVE, IDB_SAVE_PRESSED, IDB_SAVE_HOVER, -1},
    {IDC_SAVE_AS, IDB_SAVE_AS, IDB_SAVE_AS_PRESSED, IDB_SAVE_AS_HOVER, -1},
    {IDC_PUBLISHED_TICK, IDB_TICK, -1, -1, -1},
    {IDC_ENCODED_TICK, IDB_TICK, -1, -1, -1},
    {IDC_HELP, IDB_HELP, IDB_HELP_PRESSED, IDB_HELP_HOVER, -1},
    {IDC_BACK, IDB_BACK, IDB_BACK_PRESSED, IDB_BACK_HOVER, -1},
    {IDC_NEXT, IDB_NEXT, IDB_NEXT_PRESSED, IDB_NEXT_HOVER, -1},
    {IDC_EXIT, IDB_EXIT, IDB_EXIT_PRESSED, IDB_EXIT_HOVER, -1},
    {IDC_CUSTOMIZE_PLAYER, IDB_CUSTOMIZE, IDB_CUSTOMIZE_PRESSED, IDB_CUSTOMIZE_HOVER, -1},
    {IDC_GET_CODE, IDB_GET_CODE, IDB_GET_CODE_PRESSED, IDB_GET_CODE_HOVER, IDB_GET_CODE_DISABLED},
    {IDC_START_ENCODING, IDB_START, IDB_START_PRESSED, IDB_START_HOVER, IDB_START_DISABLED},
    {IDC_DELETE_PRESET, IDB_DELETE_PRESET, IDB_DELETE_PRESET_PRESSED, IDB_DELETE_PRESET_HOVER,
     IDB_DELETE_PRESET_DISABLED},
    {IDC_ADD_PRESET, IDB_ADD_PRESET, IDB_ADD_PRESET_PRESSED, IDB_ADD_PRESET_HOVER,
     IDB_ADD_PRESET_DISABLED},
    {IDC_JOIN_NOW, IDB_JOIN_NOW, IDB_JOIN_NOW_PRESSED, IDB_JOIN_NOW_HOVER, IDB_JOIN_NOW_DISABLED},
    {IDC_ADVANCED_OPTIONS, IDB_ADVANCED, IDB_ADVANCED_PRESSED, IDB_ADVANCED_HOVER, -1},
};

struct MenuItem {
  const char* text;
  int command_id;
  QKeySequence keys = {};
};

}  // namespace

CMainDialog::CMainDialog(const QString& startup_project_path, QWidget* parent)
    : QDialog(parent),
      startup_project_path_(startup_project_path),
      // "At once": the files are written and closed by then, and no teardown of the window or
      // of Qt runs behind a process that is already leaving.
      exit_process_([](int code) {
        platform::RemoveEncoderWorkingFolder();
        std::fflush(nullptr);
        std::_Exit(code);
      }),
      background_id_(IDB_PAGE_FILES) {
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setObjectName(QStringLiteral("IDD_MAIN"));
  setAccessibleName(QStringLiteral("Reelwright"));
  ApplySkinPalette(this);
  CreateMenu();
  client_ = new PageCanvas(this, this);
  client_->setObjectName(QStringLiteral("ClientArea"));
  controls_ = CreateTemplateControls(MainDialogTemplate(), client_);
  settings_.Bind(*this);
  encoding_run_ = new encode::EncodingRun(this);
  encoding_run_->SetConversionOffer([](QWidget* owner, const QString& input) {
    CEncodeVideoDialog dialog(input, owner);
    if (dialog.DoModal() != QDialog::Accepted) return encode::ConversionChoice{};
    return encode::ConversionChoice{true, dialog.converted_path(), dialog.delete_choice()};
  });
  ConnectHandlers();
  ConnectEncodingRun();
  ConnectPublishHandlers();
}

CMainDialog::~CMainDialog() = default;

void CMainDialog::CreateMenu() {
  menu_bar_ = new QMenuBar(this);
  menu_bar_->setNativeMenuBar(false);
  menu_bar_->setObjectName(QStringLiteral("IDR_MAIN_MENU"));
  auto add_items = [this](QMenu* menu, std::initializer_list<MenuItem> items) {
    for (const MenuItem& item : items) {
      if (!item.text) {
        menu->addSeparator();
        continue;
      }
      QAction* action = menu->addAction(QString::fromUtf8(item.text));
      action->setData(item.command_id);
      // The menu shows the keys beside the item, and they work wherever the focus is.
      action->setShortcut(item.keys);
      action->setShortcutContext(Qt::WindowShortcut);
      const int command_id = item.command_id;
      connect(action, &QAction::triggered, this, [this, command_id] { OnCommand(command_id); });
    }
  };
  QMenu* file = menu_bar_->addMenu(QStringLiteral("&File"));
  add_items(file, {{"&Open...", ID_FILE_OPEN, QKeySequence(Qt::CTRL | Qt::Key_O)},
                   {"&Save", ID_FILE_SAVE, QKeySequence(Qt::CTRL | Qt::Key_S)},
                   {"Save &As...", ID_FILE_SAVE_AS, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
                   {nullptr, 0},
                   {"E&xit", ID_FILE_EXIT}});
  QMenu* help = menu_bar_->addMenu(QStringLiteral("&Help"));
  add_items(help,
            {{"A&bout Reelwright... ", ID_HELP_ABOUT},
             // The help the Help button opens.
             {"S&upport Website...", ID_HELP_SUPPORT, QKeySequence(Qt::Key_F1)}});
}

CSkinButton* CMainDialog::SkinButton(int id) const {
  return ControlAs<CSkinButton>(id);
}

CSkinProgress* CMainDialog::EncodingProgress() const {
  return ControlAs<CSkinProgress>(IDC_ENCODING_PROGRESS);
}

CMainDialog::StateView CMainDialog::State() const {
  return {current_page_,     background_id_, project_path_,      modified_,
          encoded_,          published_,     affiliate_enabled_, redirect_enabled_,
          encoding_enabled_, initialised_,   custom_preset_,     presets_};
}

int CMainDialog::DoModal() {
  Create(ScreenDpi(this));
  return exec();
}

void CMainDialog::Create(double dpi) {
  ApplyDialogFont(this, dpi);
  OnInitDialog();
}

void CMainDialog::OnInitDialog() {
  // The client area is exactly the size of the page bitmaps, below the menu bar.
  const int menu_height = menu_bar_->sizeHint().height();
  menu_bar_->setGeometry(0, 0, 540, menu_height);
  client_->setGeometry(0, menu_height, 540, 530);
  setFixedSize(540, menu_height + 530);

  setWindowIcon(LoadProgramIcon());
  AcceptDroppedFiles();

  settings_.preload_movie->setChecked(true);
  SetVisible(IDC_PRELOAD_MOVIE, false);

  LoadSettings();
  InvalidateResults();

  ControlAs<CPageTabButton>(IDC_TAB_BLANK)->SetBackground(IDB_PAGE_FILES);
  MarkShownPageTab();
  for (const ButtonBitmaps& b : kButtonBitmaps)
    SkinButton(b.id)->SetBitmaps(b.normal, b.pressed, b.hover, b.disabled);

  FillLists();

  SetVisible(IDC_LABEL_AFFILIATE_ID, false);
  SetVisible(IDC_AFFILIATE_ID, false);
  settings_.mono->setChecked(true);
  affiliate_enabled_ = false;
  redirect_enabled_ = false;

  Control(IDC_PREVIEW_PAGE)->setEnabled(false);
  Control(IDC_GET_CODE)->setEnabled(false);

  ShowEncodingPage(false);
  ShowPublishPage(false);
  ShowFilesPage(true);
  SetCurrentProject({});

  settings_.which_player = -1;
  SelectFirstPlayer();

  settings_.preset->setCurrentIndex(settings_.preset->count() > 0 ? 0 : -1);
  ApplyPreset();

  settings_.enabled_audio->setChecked(true);
  settings_.show_border->setChecked(true);

  EnableEncodingControls(false);

  if (!startup_project_path_.isEmpty()) OpenProject(startup_project_path_);
  initialised_ = true;
}

void CMainDialog::FillLists() {
  for (const ListContents& list : MainWindowLists()) {
    auto* combo = ControlAs<QComboBox>(list.id);
    combo->addItems(list.rows);
    combo->setCurrentIndex(list.start_row);
  }
}

void CMainDialog::OnCommand(int command_id) {
  switch (command_id) {
    case ID_FILE_OPEN:
      OnOpen();
      break;
    case ID_FILE_SAVE:
      OnSave();
      break;
    case ID_FILE_SAVE_AS:
      OnSaveAs();
      break;
    case ID_FILE_EXIT:
      OnExitButton();
      break;
    case ID_HELP_ABOUT:
      ShowAbout(this);
      break;
    case ID_HELP_SUPPORT:
      OpenSupportPage(this);
      break;
    default:
      break;
  }
}

void CMainDialog::OnExitButton() {
  encoding_run_->Stop();
  if (!ConfirmExit()) return;
  StopPreview();
  exit_process_(0);
}

void CMainDialog::accept() {}

void CMainDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && encoding_run_->running()) {
    encoding_run_->Stop();
    return;
  }
  QDialog::keyPressEvent(event);
}

void CMainDialog::reject() {
  // Leaving stops a run first: the program never exits with its encoder still running.
  encoding_run_->Stop();
  if (!ConfirmExit()) return;
  StopPreview();
  QDialog::reject();
}
