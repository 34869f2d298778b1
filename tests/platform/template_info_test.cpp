#include "platform/template_info.h"

#include <gtest/gtest.h>

namespace orvane::platform {
namespace {

constexpr const char* kForm = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>Template1</class>
 <widget class="QDialog" name="t1">
  <property name="windowTitle"><string>Levels</string></property>
  <layout class="QVBoxLayout" name="layout">
   <item>
    <widget class="QGroupBox" name="levels">
     <layout class="QVBoxLayout">
      <item><widget class="QRadioButton" name="c1264"><property name="text"><string>&amp;A</string></property>
            <property name="checked"><bool>true</bool></property></widget></item>
      <item><widget class="QRadioButton" name="c1265"><property name="text"><string>A&amp;A</string></property></widget></item>
     </layout>
    </widget>
   </item>
   <item><widget class="QRadioButton" name="c1004"><attribute name="buttonGroup"><string notr="true">saves</string></attribute></widget></item>
   <item><widget class="QLabel" name="labelIcons"><property name="text"><string>&amp;Icons:</string></property>
         <property name="buddy"><cstring>c1010</cstring></property></widget></item>
   <item><widget class="QLineEdit" name="c1010"/></item>
   <item><widget class="QComboBox" name="c1011"><property name="editable"><bool>true</bool></property></widget></item>
   <item><widget class="QComboBox" name="c1012"/></item>
   <item><widget class="QTreeWidget" name="c1267"><property name="controlKind" stdset="0"><string>report</string></property>
         <property name="accessibleName"><string>Problems</string></property></widget></item>
   <item><widget class="QLabel" name="c1276"><property name="controlKind" stdset="0"><string>picture</string></property>
         <property name="visible"><bool>false</bool></property></widget></item>
   <item><widget class="QPushButton" name="c1043"><property name="enabled"><bool>false</bool></property>
         <property name="focusPolicy"><enum>Qt::NoFocus</enum></property></widget></item>
  </layout>
 </widget>
</ui>
)";

TEST(TemplateInfo, ReadsControlsTheirKindsGroupsAndInitialState)
{
    std::string error;
    auto form = ParseTemplate(kForm, &error);
    ASSERT_TRUE(form) << error;
    EXPECT_EQ(form->id, 1);
    EXPECT_EQ(form->title, "Levels");
    ASSERT_EQ(form->controls.size(), 9u);

    const ControlInfo& a = form->controls.at(1264);
    EXPECT_EQ(a.kind, ControlKind::Radio);
    EXPECT_EQ(a.text, "&A");
    EXPECT_TRUE(a.checkedInitially);
    // Radio buttons exclude each other within their parent widget or their named group.
    EXPECT_EQ(a.group, form->controls.at(1265).group);
    EXPECT_NE(a.group, form->controls.at(1004).group);
    EXPECT_EQ(form->controls.at(1004).group, "saves");

    EXPECT_EQ(form->controls.at(1010).kind, ControlKind::Edit);
    EXPECT_EQ(form->otherWidgets.at("labelIcons").buddyOf, "c1010");
    EXPECT_EQ(form->controls.at(1267).kind, ControlKind::ReportList);
    EXPECT_EQ(form->controls.at(1267).accessibleName, "Problems");
    EXPECT_EQ(form->controls.at(1276).kind, ControlKind::Picture);
    EXPECT_FALSE(form->controls.at(1276).visibleInitially);
    EXPECT_FALSE(form->controls.at(1043).enabledInitially);
    EXPECT_FALSE(form->controls.at(1043).focusable);
    EXPECT_TRUE(form->controls.at(1010).focusable);
    // A combo takes typing only where the template makes it editable.
    EXPECT_EQ(form->controls.at(1011).kind, ControlKind::Combo);
    EXPECT_TRUE(form->controls.at(1011).editable);
    EXPECT_FALSE(form->controls.at(1012).editable);
    EXPECT_FALSE(form->controls.at(1010).editable);
}

TEST(TemplateInfo, RefusesWhatIsNotAForm)
{
    EXPECT_FALSE(ParseTemplate("<ui version=\"4.0\"></ui>"));
    EXPECT_FALSE(ParseTemplate("<html/>"));
    EXPECT_FALSE(ParseTemplate("<ui><widget"));
    EXPECT_EQ(ControlIdOfName("c1043"), 1043);
    EXPECT_EQ(ControlIdOfName("c10x"), 0);
    EXPECT_EQ(ControlIdOfName("labelIcons"), 0);
}

} // namespace
} // namespace orvane::platform
