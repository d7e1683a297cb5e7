// The start-up services of the program: hyphenation library, data module, category tables and names,
// default histories, the working session and the shut-down in its fixed order.
#pragma once

#include "core/StartupServices.h"

// Copies the default post and honorific histories from ProgramFolder + "Common/History/" into
// HistoryFolder where they are missing (the folder is created); an existing list is never replaced.
void CopyDefaultHistories();

class TMainServices : public TStartupServices
{
public:
    ~TMainServices() override;

    void LoadHyphenLibrary() override;
    void CreateDataModule(QWidget* mainForm) override;
    void CopyCategoryTables() override;
    void LoadCategoryNames() override;
    void CopyDefaultHistories() override;
    // The address list, shown modally: the whole working session.
    void RunAddressList(QWidget* mainForm) override;
    // Category names, data module (tables, histories, database, session password), hyphenation library.
    void FreeAll() override;

private:
    bool m_hyphenLoaded = false;
};
