#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>

// The per-user settings: one file ($XDG_CONFIG_HOME/Kelp/Lernkompass.conf) with a flat
// list of typed values (text, DWORD, binary). Every accessor opens the file, reads or
// writes one value and closes it again; nothing is cached, so a value written by one
// window is seen by the next read anywhere. Reads return their default whenever the
// value is missing, unreadable or of another type; writes never create the file (only
// the start screen does) and fail silently.

// The text of the settings file, read into values and written back: the read and write
// functions of the store's format in QSettings.
bool ReadTypedFile(QIODevice& device, QSettings::SettingsMap& map);
bool WriteTypedFile(QIODevice& device, const QSettings::SettingsMap& map);

// Full path of the settings file.
QString SettingsFilePath();

// Creates the settings file when missing and writes "Version" (1.5 as 8-byte double).
// Returns false when the file cannot be created or written.
bool WriteVersionCreatingStore();

QString ReadCurrentDirectory();
void WriteCurrentDirectory(const QString& value);
bool ReadAutoDelete();
void WriteAutoDelete(bool value);
bool ReadIgnoreGrossKlein();
void WriteIgnoreGrossKlein(bool value);
bool ReadSynonyme();
void WriteSynonyme(bool value);
bool ReadBeschreibung();
void WriteBeschreibung(bool value);
QString ReadRightSound();
void WriteRightSound(const QString& value);
QString ReadWrongSound();
void WriteWrongSound(const QString& value);
bool ReadOverwrite();
void WriteOverwrite(bool value);
int ReadCompression();
void WriteCompression(int value);
QString ReadFont();
void WriteFont(const QString& value);
int ReadFontField(int k);             // k = 1..5, default -1
void WriteFontField(int value, int k);
QString ReadShortcut(int k);          // k = 1..12, default empty
void WriteShortcut(const QString& value, int k);

// Due reviews. The desired retention is in percent; a stored value outside a setting's
// range reads as its default.
inline constexpr int kMinRetentionPercent = 70;
inline constexpr int kMaxRetentionPercent = 97;
inline constexpr int kMaxNewCardsPerDay = 999;
inline constexpr int kMaxRunSize = 999;
int ReadDesiredRetention();  // default 90
void WriteDesiredRetention(int value);
int ReadNewCardsPerDay();  // 0 to kMaxNewCardsPerDay, default 20
void WriteNewCardsPerDay(int value);
int ReadRunSize();  // 1 to kMaxRunSize, default 100
void WriteRunSize(int value);

// Answer checking beyond exact comparison (off by default).
bool ReadUmlautSpellings();
void WriteUmlautSpellings(bool value);
bool ReadAnyMeaning();
void WriteAnyMeaning(bool value);

// Reading aloud (off by default), and the foreign language of each vocabulary file, kept
// by the file's absolute path in one text value ("en=/home/anna/englisch.vok" per line).
bool ReadReadAloud();
void WriteReadAloud(bool value);
QString ReadForeignLanguage(const QString& absolutePath);  // empty when none was chosen
void WriteForeignLanguage(const QString& absolutePath, const QString& language);
