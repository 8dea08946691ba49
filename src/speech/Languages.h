#pragma once

#include <QString>

// Languages are named by the codes of the speech engine (eSpeak NG): "de", "en", "fr",
// "cmn" for Mandarin Chinese, "nb" for Norwegian.
inline const QString kGermanLanguage = QStringLiteral("de");

// The foreign language a vocabulary file is probably about, from its file name and then
// from its title: "englisch.vok" gives "en", "Französisch Lektion 3" gives "fr". German
// and English names of the common languages count, also inside compounds
// ("Lateinvokabeln") and written without umlauts ("Franzoesisch"); German itself never
// counts. An empty text when nothing fits.
QString GuessLanguage(const QString& fileName, const QString& title = {});

// The German name of a language ("Englisch"), or an empty text when we have none.
QString GermanLanguageName(const QString& language);
