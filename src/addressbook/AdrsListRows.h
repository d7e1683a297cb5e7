// The shown rows of the address list and their selection, as the windows that work on them read them.
#pragma once

// Indexes are 0-based positions in the list's shown order (after group choice, narrowing and duplicate view).
class TAddressListRows
{
public:
    virtual ~TAddressListRows() = default;

    virtual int GetRecordCount() const = 0;
    virtual int GetSelectedCount() const = 0;
    // -1 when no row is selected.
    virtual int GetFirstSelectedIndex() const = 0;
    virtual int GetLastSelectedIndex() const = 0;
    // False outside 0..count-1.
    virtual bool IsSelected(int index) const = 0;
    // The row's RecNo; -1 outside 0..count-1.
    virtual int GetRecNo(int index) const = 0;
};

class TAdrsListEngine;

// The list engine's shown rows and selection through TAddressListRows.
class TAdrsListEngineRows : public TAddressListRows
{
public:
    explicit TAdrsListEngineRows(const TAdrsListEngine& engine) : m_engine(engine) {}

    int GetRecordCount() const override;
    int GetSelectedCount() const override;
    int GetFirstSelectedIndex() const override;
    int GetLastSelectedIndex() const override;
    bool IsSelected(int index) const override;
    int GetRecNo(int index) const override;

private:
    const TAdrsListEngine& m_engine;
};
