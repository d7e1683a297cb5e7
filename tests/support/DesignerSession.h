// A designer window in the running program: no administrator password, the window registered with the
// address list and its commands and child windows unregistered when the test goes.
#pragma once

#include "addressbook/AdrsListServices.h"
#include "support/SessionFixture.h"

#include <vector>

class DesignerSessionFixture : public SessionFixture
{
protected:
    DesignerSessionFixture(void (*registerWindow)(), std::vector<TListCommand> commands,
                           std::vector<TListChild> children)
        : m_register(registerWindow), m_commands(std::move(commands)), m_children(std::move(children))
    {
    }
    void SetUp() override
    {
        SessionFixture::SetUp();
        AdminPassword.clear();
        AdminMode = false;
        m_register();
    }
    void TearDown() override
    {
        for (TListCommand command : m_commands)
            RegisterListCommand(command, {});
        for (TListChild child : m_children)
            RegisterListChild(child, {});
        SessionFixture::TearDown();
    }

private:
    void (*m_register)();
    std::vector<TListCommand> m_commands;
    std::vector<TListChild> m_children;
};
