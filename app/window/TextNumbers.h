// The numbers of the texts of a language block that the windows show (LanguageBase + n), one
// name each; the string table holds the texts (StringTable.cpp and the groups of TextGroups.h).
#pragma once

namespace tolvek::window {

enum TextNumber : int {
    kCompareText = 8,
    kFieldEmptyText = 11,
    kEqualText = 12,
    kNotEqualText = 13,
    kStringWindowTitleText = 14,
    kProgressOfText = 16,
    kProgressLeftText = 17,
    kCancelText = 18,
    kCancelledText = 19,
    kFirstUnitText = 20,
    kDecimalSeparatorText = 25,
    kIdentifiedFileText = 26,
    kIdentifiedTextText = 27,
    kSelectEntryText = 28,
    kNoEntryMatchesText = 29,
    kIdentifyingText = 30,
    kWeakMatchText = 31,
    kCompareWithFileText = 32,
    kSeveralDigestsText = 33,
    kSidecarOfferText = 46,
    kDismissText = 47,
    kListOfferText = 48,
    kCheckFilesText = 49,
    kTitleText = 50,
    kFirstHeadingText = 51,
    kFirstStatusText = 55,   // OK, FAILED, missing, unreadable, cancelled
    kFirstCommandText = 60,  // copy row GNU, BSD, copy all GNU, BSD, save
    kSaveReplaceText = 65,
    kSaveFailedText = 66,
    kFilesDoneText = 67,
    kSkippedFoldersText = 68,
    kMadeWithText = 69,
    kHashAgainText = 70,
    kNamesNoFileText = 71,
    // What screen readers are told and nothing shows.
    kAlgorithmListNameText = 72,
    kLanguageListNameText = 73,
    kPathFieldNameText = 74,
    kCopyButtonNameText = 75,
    kPasteButtonNameText = 76,
    kAboutButtonNameText = 77,
    kDigestFieldDescriptionText = 78,
    kPasteAndCompareDescriptionText = 79,
    kOpenListWindowDescriptionText = 80,
    kShortcutDescriptionText = 81,
    kProgressBarNameText = 82,
    kDoneText = 83,
    kStringFieldNameText = 84,
    kListRowsNameText = 85,
    kListProgressBarNameText = 86,
    kFirstSetCommandText = 90,  // open, add files, add folder, paste names, remove, clear, report
    kEmptyHintText = 97,
    kKeepFailedText = 98,
    kAbsoluteNamesText = 99,
    kListTooLargeText = 100,
    kAlgorithmsCommandText = 101,
    kFirstPickerGroupText = 102,  // modern, classic (known collisions), checksums
    kPickerSearchText = 105,
    kCheckWithText = 106,
    kVerifyNameText = 107,
    kVerifiedCellText = 108,
    kVerifyMatchedText = 109,
    kVerifyNoneText = 110,
    kVerifyUnreadText = 111,
    kYesText = 112,  // the buttons of our boxes: yes, no, OK (Cancel is kCancelText)
    kNoText = 113,
    kOkText = 114,
    kCopyCellText = 115,  // then copy column
    kCheckFolderCommandText = 120,
    kFirstAuditClassText = 121,  // unchanged, changed, moved, new
    kMovedFromText = 125,
    kAuditNoAlgorithmText = 126,
    kKeepChangedText = 127,
    kFirstListGroupText = 130,  // the algorithm list's headings: the thirty, hashes, checksums
};

}  // namespace tolvek::window
