#pragma once
// The look of the settings dialog: places in twips (controls of the panel measured from the
// panel's top-left corner, the others from the client area's), captions, fonts and colours.
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/label.h"
#include "settings_dialog/controls.h"

namespace tolvenar::dialog_layout {

struct Place {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// The window.
// By this title a second start recognises an open dialog.
inline constexpr std::string_view kTitle = "<Tolvenar>";
inline constexpr std::int32_t kClientWidth = 7440;
inline constexpr std::int32_t kClientHeight = 3645;
inline constexpr Colour kWindowBackColour{192, 192, 192};

// On the window.
inline constexpr Place kPanel{180, 240, 7035, 2475};  // Pic_C(0), no frame of its own
inline constexpr Colour kPanelBackColour{224, 224, 224};
inline constexpr Place kCredit{180, 2880, 2475, 195};  // lbl(7)
inline constexpr Place kLink{180, 3120, 3105, 195};    // lbl_URL
inline constexpr Place kSetButton{4860, 2940, 1155, 375};
inline constexpr Place kCancelButton{6060, 2940, 1155, 375};

// On the panel, top to bottom.
inline constexpr Place kHeadingFrame{300, 300, 1695, 315};  // Shape3(3): black outline
inline constexpr Place kHeading{300, 360, 1665, 195};       // lbl(15), centred
inline constexpr Place kMarks[3] = {
    {420, 1140, 195, 195}, {420, 840, 195, 195}, {420, 1440, 195, 195}};  // Img_BGM(kind)
inline constexpr Place kChoiceLabels[3] = {
    {660, 1140, 330, 195}, {660, 840, 645, 195}, {660, 1440, 900, 195}};  // lbl_BGM(kind)
inline constexpr Place kRepeatBox{1680, 780, 615, 300};                   // BGM_Repeat
inline constexpr Place kRepeatLabel{2340, 840, 990, 195};                 // lbl(14)
inline constexpr Place kFileButton{600, 1740, 435, 375};                  // Cmd_File
inline constexpr Place kFileName{1080, 1740, 5595, 495};  // lbl_Fname: framed, wrapping

// Captions (UTF-8).
inline constexpr std::string_view kSetCaption = "設定";
inline constexpr std::string_view kCancelCaption = "ｷｬﾝｾﾙ";
inline constexpr std::string_view kFileCaption = "...";
inline constexpr std::string_view kHeadingCaption = "BGM";
inline constexpr std::string_view kChoiceCaptions[3] = {"なし", "音楽CD", "MP3、WAV"};
inline constexpr std::string_view kRepeatCaption = "曲目をﾘﾋﾟｰﾄ";
inline constexpr std::string_view kCreditCaption = "Design: Tolvenar Project  Ver.1.0.0";
inline constexpr std::string_view kLinkCaption = "http://www.example.org/tolvenar/";
// Why a chosen file was refused: its name holds a character the settings file cannot store.
inline constexpr std::string_view kNameNotHeldMessage = "ﾌｧｲﾙ名に使えない文字があります。";

// Every label and button caption; only the link is underlined.
inline constexpr std::string_view kFontName = "ＭＳ Ｐゴシック";
inline constexpr double kFontPoints = 9.75;
inline constexpr std::int32_t kFontWeight = 400;
inline constexpr std::int32_t kFontCharset = 128;  // SHIFTJIS_CHARSET
// The dialog's font as its buttons keep it.
inline FontDescription DialogFont() {
  FontDescription font;
  font.face_name = std::string(kFontName);
  font.size_points = kFontPoints;
  font.weight = static_cast<std::int16_t>(kFontWeight);
  font.charset = static_cast<std::int16_t>(kFontCharset);
  return font;
}

inline constexpr Colour kBlack{0, 0, 0};
inline constexpr Colour kWhite{255, 255, 255};  // the credit line and the link

// The two mark pictures (embedded names) and the pointer over the link.
inline constexpr std::string_view kMarkUnselected = "MARK_UNSELECTED";
inline constexpr std::string_view kMarkSelected = "MARK_SELECTED";

}  // namespace tolvenar::dialog_layout
