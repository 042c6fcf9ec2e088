// What a screen reader finds as a blind user walks the window: lists that say their value, the
// steps as tabs with the keyboard on the shown one, fields read once and whole, the channel
// choice as a named group, the chosen player in Customize Player with its place in the list.
#include <QDir>
#include <QListWidget>

#include "publish/customize_player_dialog.h"
#include "publish/player_picture.h"
#include "res/resource.h"
#include "window_fixture.h"

namespace {

using atspi::Event;
using atspi::Node;

class ScreenReaderTest : public AtspiWindowTest {
 protected:
  // A movie chosen: Step 2's lists and choices are enabled.
  void ChooseMovie() {
    prompter.QueuePath(QDir(program_folder.path()).filePath("clip.avi"));
    Click(IDC_BROWSE_VIDEO);
  }

  Node StartingWith(const QString& role, const QString& name) {
    const auto node = reader.Find(
        [&](const Node& each) { return each.role == role && each.name.startsWith(name); });
    if (!node) ADD_FAILURE() << "no " << role.toStdString() << " named '" << name.toStdString();
    return node.value_or(Node{});
  }

  void Key(int key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    ASSERT_TRUE(reader.Settle());
  }

  // Where the keyboard ended: the source of the last focus event among `events`.
  static Node LastFocus(const QList<Event>& events) {
    Node last;
    for (const Event& event : events)
      if (event.type == "focus:") last = event.source;
    return last;
  }

  static bool Any(const QList<Event>& events, const QString& type, const Node& from) {
    return std::any_of(events.begin(), events.end(), [&](const Event& event) {
      return event.type == type && event.source.path == from.path;
    });
  }
};

TEST_F(ScreenReaderTest, ListsSayTheirNameAndValueAndAnnounceEveryNewValue) {
  ChooseMovie();
  dialog->GoToPage(2);
  QComboBox* resolution = list(IDC_RESOLUTION);
  const Node before = StartingWith("combo box", "Resolution");
  EXPECT_EQ(before.name, "Resolution, " + resolution->currentText());
  EXPECT_EQ(before.value, resolution->currentIndex());
  // A label relation would have a screen reader say "Resolution" alone, without the value.
  EXPECT_TRUE(before.relations.isEmpty() ||
              std::none_of(before.relations.begin(), before.relations.end(),
                           [](const auto& r) { return r.first == "labelled-by"; }))
      << testing::PrintToString(before);

  // By the keyboard.
  resolution->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(reader.Record());
  const int row = resolution->currentIndex();
  Key(Qt::Key_Down);
  ASSERT_EQ(resolution->currentIndex(), row + 1);
  QList<Event> events = reader.Events(0);
  EXPECT_TRUE(Any(events, "object:property-change:accessible-value", before));
  const Node after = reader.Refresh(before);
  EXPECT_EQ(after.name, "Resolution, " + resolution->currentText());
  EXPECT_EQ(after.value, row + 1);

  // By the program, as a preset sets them: the list that changed says so too.
  QComboBox* frame_rate = list(IDC_FRAME_RATE);
  const Node frames = StartingWith("combo box", "Frame Rate");
  frame_rate->setCurrentIndex(frame_rate->currentIndex() == 0 ? 1 : 0);
  events = reader.Events(0);
  EXPECT_TRUE(Any(events, "object:property-change:accessible-name", frames));
  EXPECT_TRUE(Any(events, "object:property-change:accessible-value", frames));
  EXPECT_EQ(reader.Refresh(frames).name, "Frame Rate, " + frame_rate->currentText());
}

TEST_F(ScreenReaderTest, StepsAreTabsAndEveryStepChangeLeavesTheFocusOnTheShownTab) {
  const Node tab_list = Named("page tab list", "Steps");
  const QList<Node> tabs = reader.Children(tab_list);
  ASSERT_EQ(tabs.size(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(tabs[i].role, "page tab");
    EXPECT_EQ(tabs[i].name, QString("Step %1").arg(i + 1));
    EXPECT_EQ(tabs[i].Has("selected"), i == 0) << testing::PrintToString(tabs[i]);
  }

  // Ctrl+Tab from a control of Step 1, which the change hides.
  edit(IDC_OUTPUT_HTML)->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(reader.Record());
  Key(Qt::Key_Tab, Qt::ControlModifier);
  QList<Event> events = reader.Events(0);
  EXPECT_TRUE(std::any_of(events.begin(), events.end(), [&](const Event& e) {
    return e.type == "object:state-changed:selected" && e.detail1 == 1 &&
           e.source.path == tabs[1].path;
  }));
  EXPECT_TRUE(std::any_of(events.begin(), events.end(), [&](const Event& e) {
    return e.type == "object:state-changed:selected" && e.detail1 == 0 &&
           e.source.path == tabs[0].path;
  }));
  Node focus = LastFocus(events);
  EXPECT_EQ(focus.path, tabs[1].path) << testing::PrintToString(focus);
  EXPECT_TRUE(focus.Has("selected") && focus.Has("showing")) << testing::PrintToString(focus);

  // Next, and Space on a tab.
  control(IDC_NEXT)->setFocus(Qt::TabFocusReason);
  reader.Events(0);
  Key(Qt::Key_Space);
  focus = LastFocus(reader.Events(0));
  EXPECT_EQ(focus.path, tabs[2].path) << testing::PrintToString(focus);
  EXPECT_TRUE(focus.Has("selected"));
  control(IDC_TAB_FILES)->setFocus(Qt::TabFocusReason);
  reader.Events(0);
  Key(Qt::Key_Space);
  EXPECT_TRUE(reader.Refresh(tabs[0]).Has("selected"));
  EXPECT_FALSE(reader.Refresh(tabs[2]).Has("selected"));
}

TEST_F(ScreenReaderTest, AFieldTabbedIntoIsReadOnceAndWhole) {
  const QString path = "/home/me/holiday.mpg";
  edit(IDC_INPUT_VIDEO)->setText(path);
  const Node field = Named("text", "Input Video");
  const Node empty_field = Named("text", "Input FLV");
  control(IDC_TAB_PUBLISH)->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(reader.Record());

  Key(Qt::Key_Tab);
  QList<Event> events = reader.Events(0);
  ASSERT_EQ(LastFocus(events).path, field.path);
  // A selection made on the way in is read as well as the field, and "unselected" on the way
  // out; the caret stays where it was.
  EXPECT_FALSE(Any(events, "object:text-selection-changed", field));
  EXPECT_FALSE(edit(IDC_INPUT_VIDEO)->hasSelectedText());
  // One run of the whole text: Orca reads a field as far as its runs go.
  EXPECT_EQ(reader.AttributeRun(field, 0), std::make_pair(0, int(path.size())));
  EXPECT_EQ(reader.AttributeRun(field, int(path.size()) - 1), std::make_pair(0, int(path.size())));

  // An empty field: nothing about its text comes before the focus, which would have the focus
  // itself go unsaid.
  Key(Qt::Key_Tab);
  reader.Events(0);
  Key(Qt::Key_Tab);
  events = reader.Events(0);
  ASSERT_EQ(LastFocus(events).path, empty_field.path);
  EXPECT_FALSE(Any(events, "object:text-caret-moved", empty_field));
  EXPECT_FALSE(Any(events, "object:text-selection-changed", empty_field));
}

TEST_F(ScreenReaderTest, MonoAndStereoAreANamedGroupEnteredOnTheChosenOne) {
  ChooseMovie();
  dialog->GoToPage(2);
  button(IDC_STEREO)->click();
  const Node group = Named("panel", "Audio Channels");
  const QList<Node> choices = reader.Children(group);
  ASSERT_EQ(choices.size(), 2);
  EXPECT_EQ(choices[0].name, "Mono");
  EXPECT_EQ(choices[1].name, "Stereo");
  EXPECT_TRUE(choices[1].Has("checked"));

  control(IDC_SAMPLING_RATE)->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(reader.Record());
  Key(Qt::Key_Tab);
  EXPECT_EQ(LastFocus(reader.Events(0)).path, choices[1].path);
  Key(Qt::Key_Left);
  const Node focus = LastFocus(reader.Events(0));
  EXPECT_EQ(focus.path, choices[0].path);
  EXPECT_TRUE(focus.Has("checked"));
}

TEST_F(ScreenReaderTest, UnitsPurposesAndThePlayersPictureAreSaid) {
  dialog->GoToPage(3);
  // Buffer Size can be typed in: its label names it, its field holds the value, and the unit
  // comes after them ("Buffer Size, editable combo box, 5, seconds").
  const auto buffer = reader.Find([](const Node& each) {
    return each.role == "combo box" && each.relations.contains({"labelled-by", "Buffer Size"});
  });
  ASSERT_TRUE(buffer);
  EXPECT_EQ(buffer->description, "seconds");
  EXPECT_TRUE(Named("push button", "Join Now").description.contains("affiliate link"));
  // The picture of the chosen player says which one it shows, and follows the choice.
  const auto picture_found =
      reader.Find([](const Node& each) { return each.name.startsWith("Player Preview"); });
  ASSERT_TRUE(picture_found);
  const Node picture = *picture_found;
  ASSERT_TRUE(reader.Record());
  publish::ShowPlayerPicture(dialog->ControlAs<QLabel>(IDC_PLAYER_PREVIEW), program_folder.path(),
                             {"skin-Steel_Blue.swf", "skin-Steel_Blue.jpg", "Steel Blue"});
  EXPECT_TRUE(Any(reader.Events(0), "object:property-change:accessible-name", picture));
  EXPECT_EQ(reader.Refresh(picture).name, "Player Preview: Steel Blue");
}

TEST_F(ScreenReaderTest, CustomizePlayerSaysTheChosenPlayerAndItsPlace) {
  std::vector<publish::PlayerSkin> players;
  for (const char* name : {"Classic", "Steel Blue", "Graphite Night", "Sunrise"})
    players.push_back({QString(name) + ".swf", QString(name) + ".jpg", name});
  CCustomizePlayerDialog customize(dialog.get(), players, 1, program_folder.path());
  customize.Create(96);
  ASSERT_TRUE(reader.Record());
  customize.show();
  customize.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&customize));
  customize.findChild<QListWidget*>()->setFocus(Qt::TabFocusReason);

  Node focus = LastFocus(reader.Events());
  EXPECT_EQ(focus.role, "list item");
  EXPECT_EQ(focus.name, "Steel Blue");
  EXPECT_EQ(focus.index_in_parent, 1);
  EXPECT_EQ(reader.Parent(focus).value_or(Node{}).child_count, 4);

  Key(Qt::Key_Down);
  focus = LastFocus(reader.Events());
  EXPECT_EQ(focus.name, "Graphite Night");
  EXPECT_EQ(focus.index_in_parent, 2);
}

}  // namespace
