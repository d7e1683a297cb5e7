// What the start-up and shut-down need of the units built elsewhere (database module, hyphenation library,
// category tables, history files, address list, field cipher), gathered behind one replaceable object.
#pragma once

#include "platform/Cp932.h"

#include <QPointer>
#include <QString>
#include <memory>
#include <optional>

class QDialog;
class QWidget;

class TStartupServices
{
public:
    virtual ~TStartupServices() = default;

    // Steps of the main form's create step that belong to other units, in the order they run.
    virtual void LoadHyphenLibrary() {}
    virtual void CreateDataModule(QWidget* /*mainForm*/) {}
    virtual void CopyCategoryTables() {}
    virtual void LoadCategoryNames() {}
    // Copies the default input-history files that are missing.
    virtual void CopyDefaultHistories() {}
    // Runs the working session: shows the address list modally over mainForm and returns when it has closed.
    // The default is a small window naming the open address book.
    virtual void RunAddressList(QWidget* mainForm);
    // Ends the working session's modal loop (asked by the main form's close query).
    virtual void EndAddressList();
    virtual bool AddressListExists() const;
    // The window a second start brings forward.
    virtual QWidget* AddressListWindow() const;
    // Shut-down of the units above, in the main form's destroy order (frame clipboard, category names, data
    // module, hyphenation library).
    virtual void FreeAll() {}

    // The plain start-up password of its stored form; nullopt while no decoder is wired, so a stored password
    // can never be bypassed.
    virtual std::optional<QString> DescrambleStartupPassword(const QString& /*stored*/) const
    {
        return std::nullopt;
    }
    // The Unicode name form ("@" and four upper-case hex digits per UTF-16 unit) and its reading.
    virtual AnsiString WideToHexText(const QString& text) const;
    virtual QString HexTextToWide(const AnsiString& text) const;
    // The own-number file's byte scramble, reversed.
    virtual QByteArray UnscrambleText(const QByteArray& bytes) const;

protected:
    QPointer<QDialog> m_addressList;
};

// The services in use (never null).
TStartupServices& StartupServices();
// Installs services (null restores the built-in ones); answers the previous ones.
std::unique_ptr<TStartupServices> SetStartupServices(std::unique_ptr<TStartupServices> services);
