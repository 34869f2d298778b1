#pragma once

// The numbers the selector's window and its resource bundle share.

namespace orvane::selector {

// The main window's template and controls.
inline constexpr int kTemplateSelector = 102;
inline constexpr int kIdCheck = 1000;
inline constexpr int kIdSettings = 1001;
inline constexpr int kIdShowHelp = 1002;
inline constexpr int kIdLookIn = 1004;
inline constexpr int kIdFiles = 1005;
inline constexpr int kIdUp = 1008;
inline constexpr int kIdShowHtml = 1012;
inline constexpr int kIdShowText = 1013;
inline constexpr int kIdShowAll = 1014;
inline constexpr int kIdRefresh = 1015;
inline constexpr int kIdClose = 1016;

// Icons and the image strip of the status marks.
inline constexpr int kIconWindow = 130;
inline constexpr int kBitmapMarks = 130;

// Strings.
namespace text {
inline constexpr int kAboutMenu = 101;
inline constexpr int kCaption = 103;
inline constexpr int kCouldNotSave = 104;
inline constexpr int kNoCopyAside = 105;
inline constexpr int kNoCopyAsideNotSaved = 107;
inline constexpr int kNoCopyAsideSavedAs = 108;
inline constexpr int kNoSettings = 109;
inline constexpr int kNoChecking = 110;
inline constexpr int kNoLibrary = 111;
inline constexpr int kNoValidateDoc = 112;
inline constexpr int kNoSaveDoc = 113;
inline constexpr int kNoDisplaySettings = 114;
inline constexpr int kUnknownTypeBefore = 115;
inline constexpr int kUnknownTypeAfter = 116;
inline constexpr int kNothingSelected = 117;
inline constexpr int kSaveCancelled = 118;
inline constexpr int kSaveFailedBefore = 119;
inline constexpr int kSaveFailedAfter = 120;
inline constexpr int kNoDisplayAbout = 121;
inline constexpr int kNoAbout = 122;
inline constexpr int kNoGetSettings = 124;
inline constexpr int kColumnName = 125;
inline constexpr int kColumnSize = 126;
inline constexpr int kColumnDate = 127;
inline constexpr int kColumnType = 128;
inline constexpr int kRemovableNotReady = 129;
inline constexpr int kFolderNotReady = 130;
inline constexpr int kDesktop = 131;
inline constexpr int kDocuments = 132;
inline constexpr int kSaveDialogTitle = 133;
inline constexpr int kSaveDialogFilter = 134;
inline constexpr int kTypeFolder = 135;
inline constexpr int kTypeFile = 136;
inline constexpr int kTypeUnknown = 137;
inline constexpr int kLibraryNotLoaded = 138;
inline constexpr int kFolderUnreadable = 139;
inline constexpr int kLinkLeadsNowhere = 140;
inline constexpr int kNoBundle = 141;
// The words of the status marks 1 to 5.
inline constexpr int kMarkNotChecked = 150;
inline constexpr int kMarkChecked = 151;
inline constexpr int kMarkPartlyRepaired = 152;
inline constexpr int kMarkProblemsRemain = 153;
inline constexpr int kMarkNotCheckable = 154;
} // namespace text

} // namespace orvane::selector
