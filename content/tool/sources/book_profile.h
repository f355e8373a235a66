#pragma once

// What every book shares because the program is made so: the page's design space, the sizes of
// hotspots, answer boxes and letter tiles, the built-in clips and the window pictures the
// program looks up. The book's own shape (its pages, sections and units) comes from its sources;
// the demonstration volume's facts are in built_in_volume.h.

#include <array>

#include <QSize>
#include <QString>
#include <QStringList>

namespace tool {

// The page's design space: every page is laid out on 800 x 540, whatever its picture's size.
inline constexpr int kPageWidth = 800;
inline constexpr int kPageHeight = 540;
// The page's footer band (page number and section) starts here.
inline constexpr int kFooterTop = 516;

// A page picture's size in pixels, shown stretched over the design space.
inline constexpr QSize kPagePictureSize{2150, 1524};

// What a hotspot may measure: a smaller one is too small for a child to hit, a bigger one
// takes the presses meant for what lies around it.
inline constexpr int kHotspotMinWidth = 24;
inline constexpr int kHotspotMaxWidth = 320;
inline constexpr int kHotspotMinHeight = 13;
inline constexpr int kHotspotMaxHeight = 224;

inline constexpr int kFillBoxSize = 16;
inline constexpr int kTickBoxWidth = 15;
inline constexpr int kTickBoxHeight = 16;
inline constexpr int kListenIconSize = 20;
// How far the page's exercise overlay may stand from the page's top left corner.
inline constexpr int kOverlayReach = 20;

// The spelling game lays a unit word out on this many letter tiles, one character each.
inline constexpr int kLetterTiles = 15;

struct ClipRoleProfile {
    const char* role;
    const char* codec;  // required codec, or nullptr when any codec will do
};

// clang-format off
inline constexpr std::array<ClipRoleProfile, 19> kClipRoles{{
    {"praise1", "mp3/24000/1"}, {"praise2", "mp3/24000/1"}, {"praise3", "mp3/24000/1"},
    {"retry1", "mp3/24000/1"}, {"retry2", "mp3/24000/1"}, {"retry3", "mp3/24000/1"},
    {"retry4", "mp3/24000/1"}, {"done", "mp3/24000/1"}, {"practice_intro", "mp3/24000/1"},
    {"findit_intro", "mp3/24000/1"}, {"right_answer", "pcm16/22050/2"},
    {"wrong1", nullptr}, {"wrong2", nullptr}, {"letter_click", "pcm8/22050/1"},
    {"match_select", nullptr}, {"match_pair", nullptr}, {"match_mismatch", nullptr},
    {"match_empty", nullptr}, {"match_music", "mp3/16000/2"},
}};
// clang-format on

// Whether the program plays the clip of this role looped (the matching game's music): a
// recording supplied for it keeps its length, silence and all.
inline bool isLoopedClipRole(const QString& role) {
    return role == QLatin1String("match_music");
}

// Window pictures the program looks up by name.
inline const QStringList& requiredPictures() {
    static const QStringList names{"start_background",  "cover",
                                   "start_button",      "loading",
                                   "dictation_screen",  "dict_start",
                                   "dict_replay",       "dict_next",
                                   "dict_confirm",      "button_104x40",
                                   "button_100x40",     "button_72x32",
                                   "button_60x40",      "button_40x40",
                                   "fillin_background", "order_background",
                                   "spell_background",  "match_background",
                                   "finder_background", "flower",
                                   "tile_english",      "tile_chinese",
                                   "mark_right",        "mark_wrong",
                                   "listen_icon"};
    return names;
}

}  // namespace tool
