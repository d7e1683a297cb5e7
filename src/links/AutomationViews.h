// The adaptors of the map programs driven by automation: the late-bound map program with its exit hook
// (program 2), the two cooperation objects (programs 6 and 7), and the program started through its kick
// program or, at version 1, its document object (program 8).
#pragma once

#include "links/Automation.h"
#include "links/MapLibrary.h"
#include "links/MapSearch.h"
#include "PAExtMsgApi.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

// The ProgID of each version of program 2 (1 to 5).
QString ProAtlasWProgId(int version);
// Program 2's coordinate text ("35/40/12345") back to milliseconds; 0 without two "/".
quint32 ProAtlasTextToMs(const QString& text);

// The members of the cooperation objects of programs 6 and 7, by name.
namespace MapFanMember {
inline const QString ShowMap = QStringLiteral("ShowMap");             // longitude, latitude (1/256"), 1562 → status
inline const QString SearchAddress = QStringLiteral("SearchAddress"); // address → status
inline const QString Available = QStringLiteral("Available");         // → [status, value]
} // namespace MapFanMember
inline const QString MapFanNetClassId = QStringLiteral("{5DF26BEB-BD13-423D-AC71-36FAA4CDF8E1}");
inline const QString MapFanPlannerClassId = QStringLiteral("{BD890734-2485-40A4-A90E-FD883551A76D}");
// Whether the cooperation object of classId answers that its program is usable.
bool CooperationAvailable(const QString& classId);

// The base of the three: the owner disabled while the adaptor runs, messages over the owner.
class TAutomationView : public QObject, public TMapAdaptor
{
public:
    explicit TAutomationView(QWidget* owner) : m_owner(owner) {}
    void SetOwnerWindow(QWidget* owner) override { m_owner = owner; }
    void Show() override;
    virtual void Run() = 0;

    // The longest wait for a program's first answer, in milliseconds.
    static int StartWait;

protected:
    void Inform(const QString& text) const;
    QPointer<QWidget> m_owner;
};

class TProAtlasWView : public TAutomationView
{
public:
    static constexpr int MsgProAtlasMark = 0x800;

    explicit TProAtlasWView(QWidget* owner = nullptr);
    ~TProAtlasWView() override;
    void SetProgramFolder(const QString& folder) override { m_programFolder = folder; }
    int SetSearchParams(const TMapSearchParams& params) override;
    std::optional<std::pair<quint32, quint32>> Position() const override { return GetLocation(); }
    std::pair<quint32, quint32> GetLocation() const;
    void Run() override;

protected:
    bool event(QEvent* e) override;

private:
    void PollMap();
    void LayerStep();
    void EndHook();

    int m_version = 1;
    QString m_programFolder;
    int m_searchKind = 0;
    QString m_latitudeText, m_longitudeText;
    QString m_address;
    bool m_exitHook = false;
    QString m_markLatitude, m_markLongitude;
    quint32 m_polledLatitude = 0, m_polledLongitude = 0;
    std::shared_ptr<TAutomationObject> m_object;
    qint64 m_hwndMain = 0;
    bool m_polling = false;
    TMapLibrary m_hookLibrary;
    BeginExitMsgHookProc m_beginHook = nullptr;
    EndExitMsgHookProc m_endHook = nullptr;
    qint32 m_hookResult = 0;
};

// Programs 6 and 7: one adaptor, told its program's class id and name.
class TMapFanNetView : public TAutomationView
{
public:
    TMapFanNetView(QWidget* owner, TMapSoft soft);
    int SetSearchParams(const TMapSearchParams& params) override;
    void Run() override;

private:
    QString m_classId, m_name;
    int m_searchKind = 0;
    quint32 m_latitude = 0, m_longitude = 0;
    QString m_address;
    quint32 m_latitude256 = 0, m_longitude256 = 0;
};

class TMappleView : public TAutomationView
{
public:
    explicit TMappleView(QWidget* owner = nullptr);
    void SetProgramFolder(const QString& folder) override { m_programFolder = folder; }
    int SetSearchParams(const TMapSearchParams& params) override;
    std::optional<std::pair<quint32, quint32>> Position() const override
    {
        return std::make_pair(m_latitudeBack, m_longitudeBack);
    }
    void Run() override;
    // The kick program's arguments for the request (each handed over whole).
    QStringList KickArguments() const;

private:
    void RunKick();
    void RunDocument();

    QString m_programFolder;
    int m_searchKind = 0;
    quint32 m_latitude = 0, m_longitude = 0;
    QString m_address;
    qint32 m_mapClass = 0, m_zoom = 100;
    QRect m_callerRect;
    quint32 m_latitudeBack = 0, m_longitudeBack = 0;
    std::shared_ptr<TAutomationObject> m_object;
};
