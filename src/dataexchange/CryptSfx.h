// The enciphered self-restoring export: the loader of "DrcCryptSFX.dll", its call, the private work folder
// and the making of the program file.
#pragma once

#include "DrcCryptSFX.h"

#include <QString>

class QWidget;

inline const QString CryptSfxLibraryFile = QStringLiteral("DrcCryptSFX.dll");
inline const QString WorkFolderName = QStringLiteral("Encrypt.Tmp");
// The longest work folder (with its final "/") and work-file name the option record holds, in bytes.
inline constexpr int CryptSfxPathMax = 255;

// 0 loaded (or already loaded), 101 the library cannot be loaded, 102 an entry point is missing (the loader
// has said so). Every call counts a reference; an empty folder means the program's own folder.
int LoadCryptSfxLibrary(const QString& folder);
void UnloadCryptSfxLibrary();
// 103 while the library is not loaded; otherwise DCSXCreate's result.
int CallDCSXCreate(const TCryptSfxOptions& options, const TCryptSfxFileName& fileName, QWidget* owner);

// A fresh private folder (0700) in targetFolder: "Encrypt.Tmp/", or that name with a unique suffix when it
// exists. Empty (with the reason) when none could be made.
QString CreateWorkFolder(const QString& targetFolder, QString* error = nullptr);

// Wraps workFile into the program file and puts it in place of target. Says why when it fails. The caller
// deletes the work folder in every case.
bool MakeSelfRestoringFile(QWidget* owner, const QString& password, const QString& workFile,
                           const QString& target);
