#pragma once

// The numeric ids of the program's commands: menu items, accelerators and toolbar buttons
// all reach MainWindow::command(int) with these. The numbers are grouped by menu and are what
// tests and the help refer to, so they never change.
namespace command {

inline constexpr int kTrackCombo = 250;

// Mode buttons; 706..711 run the same toggles without a button.
inline constexpr int kStaffOrPiano = 700;
inline constexpr int kDisplaySolo = 701;
inline constexpr int kPlaySolo = 702;
inline constexpr int kAnimateButton = 703;
inline constexpr int kMinimizeButton = 704;
inline constexpr int kRecord = 705;
inline constexpr int kModeAliasFirst = 706;
inline constexpr int kModeAliasLast = 711;

// File
inline constexpr int kNew = 800;
inline constexpr int kOpen = 801;
inline constexpr int kSave = 802;
inline constexpr int kSaveAs = 803;
inline constexpr int kAbout = 805;
inline constexpr int kPrint = 806;
inline constexpr int kPrintPreview = 807;
inline constexpr int kPlayList = 808;
inline constexpr int kExit = 809;

// Edit
inline constexpr int kSetCutCopy = 810;
inline constexpr int kCut = 811;
inline constexpr int kCopy = 812;
inline constexpr int kPaste = 813;
inline constexpr int kSelectEntireTrack = 814;
inline constexpr int kDeleteCurrentTrack = 815;
inline constexpr int kSetFirstNote = 816;
// Undo and redo lie apart from the numbered groups, which are all taken.
inline constexpr int kUndo = 900;
inline constexpr int kRedo = 901;
// File > Export Audio..., likewise apart.
inline constexpr int kExportAudio = 950;
inline constexpr int kExportMusicXml = 951;
// Practice: the current track's mute and solo, apart too.
inline constexpr int kMuteTrack = 960;
inline constexpr int kSoloTrack = 961;
inline constexpr int kClearMuteAndSolo = 962;
// Practice: the play's speed.
inline constexpr int kSpeed = 970;
inline constexpr int kNormalSpeed = 971;
// Practice: the loop, on or off, and its bars.
inline constexpr int kLoop = 972;
inline constexpr int kLoopBars = 973;
// Practice: the metronome and the count-in.
inline constexpr int kMetronomeForPlay = 980;
inline constexpr int kMetronomeForRecord = 981;
inline constexpr int kClickEighths = 982;
// No count-in, 1 bar, 2 bars: the bars are the id minus kNoCountIn.
inline constexpr int kNoCountIn = 983;
inline constexpr int kCountInOneBar = 984;
inline constexpr int kCountInTwoBars = 985;

// Notes 820-825, Rests 826-831, Symbols 832-834: the note value is the id minus 820.
inline constexpr int kNoteValueBase = 820;
inline constexpr int kWholeNote = 820;
inline constexpr int kThirtySecondNote = 825;
inline constexpr int kWholeRest = 826;
inline constexpr int kSharp = 832;
inline constexpr int kFlat = 833;
inline constexpr int kNatural = 834;
inline constexpr int kDotted = 835;

inline constexpr int kVoices = 840;
inline constexpr int kConfiguration = 842;
inline constexpr int kAweControl = 843;
inline constexpr int kHelp = 850;

// Options
inline constexpr int kGoToBar = 860;
inline constexpr int kBarWidth = 861;
inline constexpr int kSongSummary = 862;
inline constexpr int kTimeSignature = 863;
inline constexpr int kTimeDivision = 864;
inline constexpr int kKeySignature = 865;
inline constexpr int kSequentialInput = 866;
inline constexpr int kFreeFormInput = 867;
inline constexpr int kTrackDetail = 868;
inline constexpr int kAlignToBeat = 869;
inline constexpr int kAnimate = 870;
inline constexpr int kMinimizeOnPlay = 871;
inline constexpr int kTranspose = 872;
inline constexpr int kVolume = 873;
inline constexpr int kDefaultVelocity = 874;
// The page's event list and the note detail, which the staff also opens by a right click.
inline constexpr int kEventList = 880;
inline constexpr int kNoteDetail = 881;

// Toolbar: the six note-value buttons stand for note values 0..5.
inline constexpr int kNoteButtonFirst = 1250;
inline constexpr int kNoteButtonLast = 1255;
inline constexpr int kPrevPage = 1800;
inline constexpr int kNextPage = 1801;
inline constexpr int kPause = 1802;
inline constexpr int kPlay = 1803;
inline constexpr int kPlayAll = 1804;
inline constexpr int kStop = 1805;

// "Windows" menu: one item per open song, 3500 + its place in the window list.
inline constexpr int kWindowFirst = 3500;
inline constexpr int kWindowLast = 3510;

}  // namespace command
