// What the start-up and shut-down need of the units built elsewhere (database module, hyphenation library,
// category tables, history files, address list), gathered behind one replaceable object.
#pragma once

#include <QPointer>
#include <QString>
#include <memory>

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
    // The built-in services run none.
    virtual void RunAddressList(QWidget* /*mainForm*/) {}
    // Ends the working session's modal loop (asked by the main form's close query).
    virtual void EndAddressList();
    virtual bool AddressListExists() const;
    // The window a second start brings forward.
    virtual QWidget* AddressListWindow() const;
    // Shut-down of the units above, in the main form's destroy order (frame clipboard, category names, data
    // module, hyphenation library).
    virtual void FreeAll() {}

protected:
    QPointer<QDialog> m_addressList;
};

// The services in use (never null).
TStartupServices& StartupServices();
// Installs services (null restores the built-in ones); answers the previous ones.
std::unique_ptr<TStartupServices> SetStartupServices(std::unique_ptr<TStartupServices> services);
