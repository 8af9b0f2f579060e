// The one look shared by every screen: warm wood, ink, jade and red lacquer with gold.
#pragma once

#include "Canvas.h"
#include "Text.h"

namespace pic {

namespace pal {
constexpr Rgb kInk{38, 26, 18};
constexpr Rgb kCream{250, 240, 215};
constexpr Rgb kParchment{242, 228, 194};
constexpr Rgb kParchmentDark{214, 190, 146};
constexpr Rgb kGold{240, 202, 104};
constexpr Rgb kGoldDark{168, 116, 38};
constexpr Rgb kJade{52, 140, 110};
constexpr Rgb kJadeLight{128, 206, 166};
constexpr Rgb kJadeDark{22, 84, 64};
constexpr Rgb kLacquer{158, 34, 26};
constexpr Rgb kLacquerLight{214, 72, 52};
constexpr Rgb kLacquerDark{96, 18, 12};
constexpr Rgb kWoodFace{176, 122, 70};
constexpr Rgb kWoodFaceDark{128, 82, 42};
constexpr Rgb kFrame{72, 40, 20};
}  // namespace pal

// Board-game woods: the screen backgrounds, the dark frame round them.
Wood TableWood();
Wood FrameWood();

// Background of a full screen: wood with a dark frame and a caption band at the top that
// holds the three idle title-bar buttons.
void ScreenBackground(Canvas& c, uint32_t seed);

// A parchment sheet inset into a background.
void Parchment(Canvas& c, Rect r, uint32_t seed);

// Big painted heading: gold graded text with an ink outline and shadow.
TextStyle HeadingStyle(int scale);
// Caption on a wooden button face.
TextStyle CaptionStyle(int scale, bool lit);

// --- title-bar buttons (17 x 17) ---
enum class TitleSymbol { Maximise, Restore, Minimise, Close };
void TitleButton(Canvas& c, int x, int y, TitleSymbol s, bool pressed);
// Idle buttons at the screen's title-bar places.
void TitleBarIdle(Canvas& c);
// The five sprites; each argument is a sprite's top-left corner in the picture.
struct TitleSprites {
  int winPressedX, winPressedY;    // full screen pressed, while windowed
  int fullPressedX, fullPressedY;  // full screen pressed, in the full-screen view
  int minPressedX, minPressedY;
  int closePressedX, closePressedY;
  int markX, markY;  // restore symbol shown while full screen
};
void DrawTitleSprites(Canvas& c, const TitleSprites& s);

// --- menu items: a plaque inside the item's rectangle, green margins when on a sprite ---
enum class Look { Idle, Hover, Pressed };
void MenuItem(Canvas& c, const Font& f, Rect r, const char* caption, Look look, int margin = 4,
              bool studs = true);

// Round button with a caption (confirm, back ...), 48 or 50 px.
void RoundButton(Canvas& c, const Font& f, Rect r, const char* caption, bool pressed);
// The pressed look of the round button at `dest`, drawn at (x, y) over a copy of the
// background under the button, so the sprite can be drawn opaque.
void PressedRoundButton(Canvas& c, const Font& f, Rect dest, int x, int y, const char* caption);

// The three long modes (tournament A, tournament B, grading ladder): name and accent colour.
const char* ModeName(int kind);
Rgb ModeAccent(int kind);

// A mode's big heading centred in r, with a stone in an accent ring on either side.
void ModeHeading(Canvas& c, const Font& f, Rect r, const char* text, Rgb accent);

// Speaker icon button (sound settings), any size.
void SpeakerButton(Canvas& c, Rect r, bool pressed);

// The five boards the player can choose from.
struct BoardLook {
  Wood wood;
  Rgb line;
};
BoardLook BoardStyle(int board);
// Thumbnail of a board for the board choice buttons (any small square).
void BoardThumb(Canvas& c, Rect r, int board, bool lit);

// Check box of the rule lines (25 x 25), empty.
void CheckBox(Canvas& c, Rect r);
// The tick that marks a check box; hard edges, nothing outside the tick painted.
void Tick(Canvas& c, Rect r);

// A wooden bowl of stones (decoration), about 104 x 70 round (cx, cy).
void Bowl(Canvas& c, double cx, double cy, bool black, uint32_t seed);

// A hard-edged shape with a one-pixel outline all round (cursor-style sprites over any page).
void OutlinedShape(Canvas& c, Rect area, const InsideFn& inside, const ColourFn& fill, Rgb outline);

// Fills r with the key colour (sprite cells start transparent).
void Clear(Canvas& c, Rect r);

}  // namespace pic
