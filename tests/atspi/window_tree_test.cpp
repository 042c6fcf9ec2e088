// What a screen reader finds on the accessibility bus for the main window: the first page's
// fields, where the keyboard focus goes, what is typed, and a check box's state.
#include <algorithm>

#include "res/resource.h"
#include "window_fixture.h"

namespace {

using atspi::Event;
using atspi::Node;

bool FocusedEventFrom(const Event& event, const Node& node) {
  return event.type == "object:state-changed:focused" && event.detail1 == 1 &&
         event.source.path == node.path;
}

TEST_F(AtspiWindowTest, InputVideoIsATextFieldLabelledByItsCaptionHoldingTheFieldsText) {
  edit(IDC_INPUT_VIDEO)->setText("/home/me/holiday.avi");

  const Node field = Named("text", "Input Video");

  EXPECT_EQ(field.text, "/home/me/holiday.avi");
  EXPECT_TRUE(field.relations.contains(std::pair<QString, QString>("labelled-by", "Input Video")))
      << testing::PrintToString(field);
  EXPECT_TRUE(field.Has("editable") && field.Has("focusable") && field.Has("showing"))
      << testing::PrintToString(field);
}

TEST_F(AtspiWindowTest, FocusOnInputVideoIsAnnouncedWithTheFieldAsSource) {
  const Node field = Named("text", "Input Video");
  ASSERT_TRUE(reader.Record());

  edit(IDC_INPUT_VIDEO)->setFocus(Qt::TabFocusReason);

  const auto focused =
      reader.WaitFor([&](const Event& event) { return FocusedEventFrom(event, field); });
  ASSERT_TRUE(focused) << "no focused event from the field";
  EXPECT_EQ(focused->source.name, "Input Video");
  EXPECT_TRUE(focused->source.Has("focused"));
  const QList<Event> events = reader.Events(0);
  EXPECT_TRUE(std::any_of(events.begin(), events.end(), [&](const Event& event) {
    return event.type == "focus:" && event.source.path == field.path;
  }));
}

// While a screen reader listens, keys reach the window only after a trip through the registry.
TEST_F(AtspiWindowTest, TypedTextAndTabAreReadBackOnceSettled) {
  edit(IDC_INPUT_VIDEO)->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(reader.Record());

  QTest::keyClicks(edit(IDC_INPUT_VIDEO), "clip.avi");
  QTest::keyClick(dialog.get(), Qt::Key_Tab);
  ASSERT_TRUE(reader.Settle());

  EXPECT_EQ(Named("text", "Input Video").text, "clip.avi");
  const Node browse = Named("push button", "Browse for Input Video");
  const QList<Event> events = reader.Events(0);
  EXPECT_TRUE(std::any_of(events.begin(), events.end(), [&](const Event& event) {
    return event.type == "object:text-changed:insert" && event.source.name == "Input Video";
  }));
  EXPECT_TRUE(std::any_of(events.begin(), events.end(),
                          [&](const Event& event) { return FocusedEventFrom(event, browse); }));
}

TEST_F(AtspiWindowTest, CheckBoxStateFollowsTheControl) {
  QAbstractButton* enable_audio = button(IDC_ENABLE_AUDIO);
  enable_audio->setChecked(false);
  const Node check_box = Named("check box", "Enable Audio");
  EXPECT_FALSE(check_box.Has("checked"));
  ASSERT_TRUE(reader.Record());

  enable_audio->setChecked(true);

  EXPECT_TRUE(reader.Refresh(check_box).Has("checked"));
  EXPECT_TRUE(reader.WaitFor([&](const Event& event) {
    return event.type == "object:state-changed:checked" && event.detail1 == 1 &&
           event.source.path == check_box.path;
  })) << "no checked event from the check box";
}

}  // namespace
