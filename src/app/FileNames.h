#pragma once

#include <QString>

// Path rules shared by the windows. The file name part of a path is what follows the last
// separator; the extension is the text from the last "." that follows the last separator.

// The file name part (the whole text when it holds no separator).
QString FileNamePart(const QString& path);

// The directory of a path without a trailing separator, except at the root ("/", "C:\").
QString DirectoryPart(const QString& path);

// Replaces the extension with newExtension (which starts with "."), or appends it when the
// name has none.
QString ReplaceExtension(const QString& path, const QString& newExtension);
