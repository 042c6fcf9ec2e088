// What a screen reader hears: every control one can act on has a name, and every field of the
// main window is labelled by the text that stands before it.
#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "app/about_dialog.h"
#include "app/new_preset_dialog.h"
#include "main_window_fixture.h"
#include "res/advanced_template.h"
#include "res/convert_template.h"
#include "res/customize_player_template.h"
#include "res/get_code_template.h"
#include "ui/control_factory.h"

namespace {

QAccessibleInterface* Accessible(QWidget* widget) {
  return QAccessible::queryAccessibleInterface(widget);
}

// The captions of the labels the accessibility tree says name `widget`.
QStringList LabelledBy(QWidget* widget) {
  QStringList texts;
  for (const auto& [other, relation] : Accessible(widget)->relations(QAccessible::Label)) {
    const auto* label = qobject_cast<QLabel*>(other->object());
    texts << (label ? label->text() : QString("<not a label>"));
  }
  return texts;
}

bool Interactive(QWidget* widget) {
  return qobject_cast<QAbstractButton*>(widget) || widget->focusPolicy() != Qt::NoFocus;
}

// Every interactive control of a dialog (the named ones: those its template or code made) has a
// name a screen reader can say.
void ExpectEveryControlNamed(QWidget* dialog, const QString& which) {
  int checked = 0;
  for (QWidget* widget : dialog->findChildren<QWidget*>()) {
    if (!widget->objectName().startsWith("ID") || !Interactive(widget)) continue;
    ++checked;
    const QString name = Accessible(widget)->text(QAccessible::Name);
    EXPECT_TRUE(!name.trimmed().isEmpty() || !LabelledBy(widget).isEmpty())
        << which.toStdString() << ": " << widget->objectName().toStdString();
  }
  EXPECT_GT(checked, 0) << which.toStdString();
}

TEST(Accessibility, EveryControlOfEveryDialogHasAName) {
  const struct {
    const char* which;
    const DialogTemplate& (*layout)();
  } templates[] = {
      {"Convert Video", ConvertVideoTemplate},
      {"Get Code", GetCodeTemplate},
      {"Customize Player", CustomizePlayerTemplate},
      {"Advanced Options", AdvancedOptionsTemplate},
  };
  for (const auto& t : templates) {
    QWidget dialog;
    CreateTemplateControls(t.layout(), &dialog);
    ExpectEveryControlNamed(&dialog, t.which);
  }
  CAboutDialog about(nullptr, 96);
  ExpectEveryControlNamed(&about, "About");
  CNewPresetDialog new_preset;
  ExpectEveryControlNamed(&new_preset, "New Preset");
  EXPECT_EQ(LabelledBy(new_preset.findChild<QWidget*>("IDC_PRESET_NAME")),
            QStringList{"Please enter name for preset:"});
}

using AccessibilityWindowTest = MainWindowTest;

TEST_F(AccessibilityWindowTest, EveryFieldIsLabelledByTheTextBeforeIt) {
  ExpectEveryControlNamed(dialog.get(), "main window");

  const struct {
    int field;
    const char* label;
  } fields[] = {
      {IDC_INPUT_VIDEO, "Input Video"},     {IDC_INPUT_FLV, "Input FLV"},
      {IDC_OUTPUT_FOLDER, "Output Folder"}, {IDC_OUTPUT_VIDEO, "Output Video"},
      {IDC_OUTPUT_HTML, "Output HTML"},     {IDC_PAGE_TITLE, "Page Title"},
      {IDC_BUFFER_SIZE, "Buffer Size"},     {IDC_AFFILIATE_ID, "Affiliate ID:"},
      {IDC_REDIRECT_URL, "http://"},
  };
  for (const auto& f : fields)
    EXPECT_EQ(LabelledBy(control(f.field)), QStringList{f.label}) << f.label;

  // A list one cannot type in says its name and its value in one; a label relation would make
  // a screen reader say the label alone.
  const struct {
    int list;
    const char* name;
  } lists[] = {
      {IDC_PRESET, "Preset"},
      {IDC_RESOLUTION, "Resolution"},
      {IDC_FRAME_RATE, "Frame Rate"},
      {IDC_VIDEO_BITRATE, "Video Bitrate"},
      {IDC_AUDIO_BITRATE, "Audio Bitrate"},
      {IDC_SAMPLING_RATE, "Sampling Rate"},
  };
  for (const auto& l : lists) {
    QComboBox* choice = list(l.list);
    // No preset is chosen in a new window: the list says its name only.
    const QString value = choice->currentText();
    EXPECT_EQ(value.isEmpty(), l.list == IDC_PRESET) << l.name;
    EXPECT_EQ(Accessible(choice)->text(QAccessible::Name),
              value.isEmpty() ? QString(l.name) : QString(l.name) + ", " + value);
    EXPECT_TRUE(LabelledBy(choice).isEmpty()) << l.name;
  }

  // Every edit and list of the window is among them: none is known only by its value.
  int fields_found = 0;
  for (QWidget* widget : dialog->findChildren<QWidget*>()) {
    if (!widget->objectName().startsWith("IDC_")) continue;
    if (!qobject_cast<QLineEdit*>(widget) && !qobject_cast<QComboBox*>(widget)) continue;
    ++fields_found;
  }
  EXPECT_EQ(fields_found, std::size(fields) + std::size(lists));

  // Labels are read as the texts they show, also after a change.
  auto* player = dialog->findChild<QLabel*>("IDC_PLAYER_NAME");
  for (const char* name : {"IDC_LABEL_INPUT_VIDEO", "IDC_LABEL_SECONDS", "IDC_PLAYER_NAME"}) {
    auto* label = dialog->findChild<QLabel*>(name);
    EXPECT_EQ(Accessible(label)->text(QAccessible::Name), label->text()) << name;
  }
  player->setText("Steel Blue selected");
  EXPECT_EQ(Accessible(player)->text(QAccessible::Name), "Steel Blue selected");

  // The unit beside a value, and what Join Now is for, come after their names.
  EXPECT_EQ(Accessible(control(IDC_BUFFER_SIZE))->text(QAccessible::Description), "seconds");
  EXPECT_TRUE(Accessible(control(IDC_JOIN_NOW))
                  ->text(QAccessible::Description)
                  .contains("affiliate link"));

  // A label after its field, or before a picture, names nothing.
  EXPECT_EQ(dialog->findChild<QLabel*>("IDC_LABEL_SECONDS")->buddy(), nullptr);
  EXPECT_EQ(dialog->findChild<QLabel*>("IDC_PLAYER_NAME")->buddy(), nullptr);
}

}  // namespace
