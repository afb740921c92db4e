// The typeface a form's font is drawn in at a screen's DPI.
#pragma once

// "MS Sans Serif" is a bitmap font on Windows, drawn exactly at 96 DPI only:
// larger it comes out jagged or at the nearest size it has. Above 96 DPI its
// TrueType twin "Microsoft Sans Serif", with the same metrics, takes its place
// at the same point size; every other face is kept.
const wchar_t* FaceAtDpi(const wchar_t* face, int dpi);
