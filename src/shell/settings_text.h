// Text forms of the settings values. No platform calls.
#pragma once

#include <cstdint>

// 1 for exactly "TRUE" or "true" once trailing blanks are gone, else 0.
int TextToFlag(const char* text);
const char* FlagToText(int flag);

// Up to 8 hex digits, stopping at the first other character; the 32-bit
// pattern read as signed. "-12" gives 0.
int32_t HexToValue(const char* text);
// Exactly 8 upper-case hex digits into out (9 bytes).
void ValueToHex(int32_t value, char out[9]);

// "I", "U", "S" in that order for the set styles, or "normal" (out: 7 bytes).
void StyleLetters(int italic, int underline, int strikeOut, char out[7]);
// Sets (never clears) the styles whose letters occur in text, any case.
void ApplyStyleLetters(const char* text, unsigned char* italic, unsigned char* underline, unsigned char* strikeOut);
