// The replaceable start-up services and the session's modal loop they share.
#include "core/StartupServices.h"

#include <QDialog>

namespace {

std::unique_ptr<TStartupServices>& installed()
{
    static std::unique_ptr<TStartupServices> services;
    return services;
}

} // namespace

void TStartupServices::EndAddressList()
{
    if (m_addressList)
        m_addressList->done(QDialog::Rejected);
}

bool TStartupServices::AddressListExists() const
{
    return !m_addressList.isNull();
}

QWidget* TStartupServices::AddressListWindow() const
{
    return m_addressList;
}

TStartupServices& StartupServices()
{
    if (!installed())
        installed() = std::make_unique<TStartupServices>();
    return *installed();
}

std::unique_ptr<TStartupServices> SetStartupServices(std::unique_ptr<TStartupServices> services)
{
    std::unique_ptr<TStartupServices> previous = std::move(installed());
    installed() = std::move(services);
    return previous;
}
