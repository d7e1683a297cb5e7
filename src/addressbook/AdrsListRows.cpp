// The list engine's rows as the windows that work on them read them.
#include "addressbook/AdrsListRows.h"

#include "addressbook/AdrsListEngine.h"

int TAdrsListEngineRows::GetRecordCount() const
{
    return m_engine.GetRecordCount();
}

int TAdrsListEngineRows::GetSelectedCount() const
{
    return m_engine.GetSelectedCount();
}

int TAdrsListEngineRows::GetFirstSelectedIndex() const
{
    return m_engine.GetFirstSelectedIndex();
}

int TAdrsListEngineRows::GetLastSelectedIndex() const
{
    return m_engine.GetLastSelectedIndex();
}

bool TAdrsListEngineRows::IsSelected(int index) const
{
    return m_engine.IsSelected(index);
}

int TAdrsListEngineRows::GetRecNo(int index) const
{
    return m_engine.GetRecNo(index);
}
