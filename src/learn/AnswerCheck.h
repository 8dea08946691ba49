#pragma once

#include <QString>

// Judges a typed answer: blanks (code 32) around it are ignored; with ignoreCase both texts
// are compared in Windows-1252 upper case (ä and Ä match, ß stays ß, so "STRASSE" is not
// "Straße"); otherwise the texts must be equal character for character. Inner blanks,
// punctuation and synonyms are never forgiven.
bool CheckAnswer(const QString& typed, const QString& expected, bool ignoreCase);
