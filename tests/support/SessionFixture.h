// Test fixture for the whole program start with its real services: the address list is driven once it is up.
#pragma once

#include "addressbook/AdrsList.h"
#include "core/Main.h"
#include "core/MainServices.h"
#include "core/StartupServices.h"
#include "support/AdrsBookGenerator.h"
#include "support/ModalDriver.h"
#include "support/StartupFixture.h"

#include <QCoreApplication>

#include <functional>
#include <memory>

class SessionFixture : public StartupFixture
{
protected:
    void SetUp() override
    {
        StartupFixture::SetUp();
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
        m_previous = SetStartupServices(std::make_unique<TMainServices>());
        StartupPassword.clear();
    }
    void TearDown() override
    {
        SetStartupServices(std::move(m_previous));
        StartupFixture::TearDown();
    }

    // Runs the program's start; body runs once the list has opened its book, then the list is closed (when
    // still open). Windows the start shows before the list are queued on m_driver beforehand.
    void runSession(const std::function<void(TAddressList&)>& body)
    {
        bool seen = false;
        m_driver.on(
            "AddressList",
            [&](QWidget* w) {
                seen = true;
                auto* list = static_cast<TAddressList*>(w);
                body(*list);
                if (list->isVisible())
                    list->close();
            },
            [](QWidget* w) { return static_cast<TAddressList*>(w)->StartupDone(); });
        {
            TMainForm form;
            form.FormCreate();
            QCoreApplication::sendPostedEvents(&form);
        }
        EXPECT_TRUE(seen) << "the address list did not show";
    }

    // Writes the book "Work" of that many records in the data folder and makes it the one opened at the
    // start; returns the data folder.
    QString writeWorkBook(int records)
    {
        const QString data = DataRootFolder + "Data/";
        QDir().mkpath(data + "Adrs/");
        AdrsBookGenerator::WriteBook(data + "Adrs/", "Work", records);
        writeSettings({{"BASE", "DataPath", data}, {"BASE", "AdrsName", "Work"}});
        return data;
    }

    ModalDriver m_driver;

private:
    std::unique_ptr<TStartupServices> m_previous;
};
