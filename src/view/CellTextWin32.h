// Drawing text that is not plain Latin on the view's grid: every character on its own cells and
// in the order of the text (right-to-left scripts too), wide characters in faces of their own
// width, and characters made of several units (a surrogate pair, a base with its marks)
// through the platform's script shaping, in a face that has their glyphs.
#pragma once

#include <windows.h>

#include <usp10.h>

#include <map>
#include <string>
#include <vector>

#include "pocketpc/GdiWin32.h"

class CellTextPainter {
 public:
  CellTextPainter() = default;
  ~CellTextPainter();
  CellTextPainter(const CellTextPainter&) = delete;
  CellTextPainter& operator=(const CellTextPainter&) = delete;

  // Forgets the faces chosen for the previous view font; the next Draw starts from font.
  void Reset();

  // True when the view's font (selected into dc) has a glyph of its own for every unit of the
  // text and none is written right to left: the text then draws itself on the grid, as Latin
  // text does, in the font's own advances.
  bool DrawnByFont(HDC dc, HFONT font, const wchar_t* text, int count);

  // Draws count units of whole characters (no tabs) with their left edge at x and their top
  // at y, each character on its cells of cellWidth pixels, filling the cells' background with
  // the DC's background colour. font is the view's font, selected into dc.
  void Draw(HDC dc, HFONT font, int x, int y, int cellWidth, int lineHeight, const wchar_t* text,
            int count);

 private:
  // A face a character may be drawn in: the view's font or one of the faces linked to it.
  struct Face {
    HFONT font = nullptr;  // the view's font (not owned) or owned
    platform::GdiObject<HFONT> owned;
    SCRIPT_CACHE cache = nullptr;
    WORD missingGlyph = 0;  // the face's glyph for characters it lacks
    int ascent = 0;
  };
  // The faces for one width of character: the view's font (or, for wide characters, the same
  // face at its own width, when the view's font is narrowed), then the faces linked to it.
  using Faces = std::vector<Face>;

  // Draws the characters of one unit gathered so far, from x to the current cell.
  void DrawPlain(HDC dc, int x, int y, int end, int lineHeight);
  // Draws one character of several units (marks and joiners removed beforehand) on its cells.
  void DrawShaped(HDC dc, Faces& faces, int x, int y, int width, int lineHeight,
                  const std::wstring& character);
  // The face to draw a character in: the first face that has all its glyphs; -1 when none
  // has, and the platform's own fallback is asked.
  int FaceFor(HDC dc, Faces& faces, const std::wstring& character);
  bool Covers(HDC dc, Face& face, const std::wstring& character);
  // Starts anew when the view's font is another one.
  void UseFont(HFONT font);
  // Sets the faces up for the view's font: itself first, then its linked faces, for characters
  // of one cell and of two.
  void LoadFaces(HDC dc);

  HFONT font_ = nullptr;  // the font the faces and glyphs were set up for
  std::vector<std::uint8_t> glyphs_;  // for each unit: 0 not asked yet, 1 in font_, 2 not
  Faces narrow_;          // narrow_[0] is the view's font
  Faces wide_;            // at the faces' own width
  int ascent_ = 0;        // of the view's font: every face is drawn on its baseline
  std::map<std::wstring, int> chosen_[2];  // the face each character was drawn in, by width
  std::wstring plain_;         // characters of one unit waiting to be drawn, all of one width
  bool plainWide_ = false;     // whether they are wide
  std::vector<INT> advances_;  // their widths in pixels
};
