// The main window as plain data: every control the player reads or writes, and the per-window
// fields. Front ends draw it; tests assert on it.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/variant.h"

namespace mireval {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

struct Control {
  bool visible = true;
  double left = 0, top = 0, width = 0, height = 0;
  Rgb back{255, 255, 255};
  Rgb fore{0, 0, 0};
};

// A text box. Texts are Windows-1251. `generation` changes whenever the text is replaced rather
// than extended, and `droppedFront` counts characters cut from its front, so that a view can tell
// an append from a rewrite.
struct TextBox : Control {
  std::string text;
  std::size_t caret = 0;
  std::uint64_t generation = 0;
  std::uint64_t droppedFront = 0;

  void Append(std::string_view s) { text += s; }
  void SetText(std::string_view s) {
    text.assign(s);
    ++generation;
  }
  // Keeps the first `n` characters.
  void KeepFirst(std::size_t n) {
    if (n < text.size()) text.resize(n);
  }
  // Drops the first `n` characters.
  void DropFirst(std::size_t n) {
    if (n > text.size()) n = text.size();
    text.erase(0, n);
    droppedFront += n;
  }
};

struct Button : Control {
  std::string caption;
};

struct Label : Control {
  std::string caption;
};

struct ListBox : Control {
  std::vector<std::string> items;
};

struct Panel : Control {};

struct ImageBox : Control {
  std::string file;  // resolved path of the picture shown (UTF-8 path on this machine)
  bool stretch = false;
};

// Drive, folder and file lists of the browser panels. Paths and names are Windows-1251 texts like
// every other text of the window; folder paths carry no trailing separator (except "/").
struct DriveList : Control {
  std::string drive;               // the chosen entry
  std::vector<std::string> items;  // the places offered
};
struct DirList : Control {
  std::string path;                // the folder shown
  std::filesystem::path folder;    // the same on this machine, whatever its name holds
  std::vector<std::string> items;  // its subfolders, by name
};
struct FileList : Control {
  std::string path;
  std::string pattern;             // "main.txt", "*.sav"; ";" separates several
  std::vector<std::string> items;  // matching file names, sorted
};

enum class Focus { Story, AnswerPanel, Input, Other };

constexpr double kStoryFullHeight = 395;
constexpr double kStoryDialogueHeight = 296;
// The answer band below the shortened story, and the height of a closing button left alone.
constexpr double kAnswerBandTop = 346;
constexpr double kAnswerBandHeight = 250;
constexpr double kExhaustedCloseHeight = 125;

struct Form {
  Form();

  std::string caption;                 // the window title
  TextBox story;                       // story area
  TextBox answerPanelFocus;            // focus holder while answers are shown
  TextBox input;                       // input line
  std::array<Button, 13> answers;      // [0] ends the dialogue, [1..12] answers
  std::array<ListBox, 2> wordColumns;  // word columns К1, К2
  std::array<Label, 5> statusLabels;  // [0] location, [1] moves and score, [2] character, [4] title
  Label browserCaption;               // browser caption
  Panel browserPanel;                 // game browser
  DriveList drives;
  DirList folders;
  FileList files;
  Button startButton;   // "start game"
  Button cancelButton;  // leaves the browser without choosing
  Panel picturePanel;   // picture panel
  ImageBox picture;
  Button pictureClose;  // closes the picture panel
  Focus focus = Focus::Input;

  Variant colorScheme;
  std::int32_t charactersSincePause = 0;
  bool transitionWaiting = false;  // a move to another location waits for Enter
  bool pauseWaiting = false;       // a pause in the story waits for Enter
  bool outputPaused = false;       // the story is held at a pause: answers are inert
  // [1..12]: the ordinal of each answer's option, counted through both location files; a long
  // game holds more options than a 16-bit count reaches.
  std::array<std::size_t, 13> answerOptions{};
  Variant wordLinesCount;

  // Background and text colours last applied by the colour scheme.
  Rgb schemeBack{0, 0, 128};
  Rgb schemeText{192, 192, 255};
  Rgb schemeButtons{192, 192, 255};

  bool DialoguePanelShown() const { return answers[0].visible; }
};

// The two arrangements of the window: wide, and narrow with the word columns at the right.
enum class Layout { Wide, Narrow };
void ArrangeForm(Form& f, Layout layout);

// Shortens the story and stacks `answers` answers (1..12) in equal slots of the answer band, the
// closing button in the slot after them. Positions are kept in single precision, as the window
// keeps them.
void PlaceAnswers(Form& f, int answers);
// The closing button alone at the top of the band, once no answer is left.
void PlaceClosingAnswerAlone(Form& f);

}  // namespace mireval
