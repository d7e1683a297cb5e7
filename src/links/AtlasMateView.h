// The adaptor of the mesh-based map program: its map window through "Atm95.dll", the position of a
// telephone number through "DTMap32.dll", and named marks appended to mark files through "MarkDll.dll".
#pragma once

#include "AtlasMateApi.h"
#include "links/MapLibrary.h"
#include "links/MapSearch.h"
#include "platform/Cp932.h"

#include <QPointer>
#include <QWidget>

class TAtlasMateView : public TMapAdaptor
{
public:
    explicit TAtlasMateView(QWidget* owner = nullptr);

    void SetProgramFolder(const QString& folder) override { m_programFolder = folder; }
    void SetOwnerWindow(QWidget* owner) override { m_owner = owner; }
    // Kind, coordinates and telephone; the position back starts as the given coordinates.
    int SetSearchParams(const TMapSearchParams& params) override;
    // Runs the map, then brings the application's window to the front.
    void Show() override;
    std::optional<std::pair<quint32, quint32>> Position() const override;

    void RunMap();
    // Appends a mark named name (CP932; cut to the record's 511 bytes) at the position to file; false for a
    // position without both coordinates or without a mesh, a library that cannot be loaded, or a refused mark.
    bool SaveMark(const QString& file, quint32 latitude, quint32 longitude, const AnsiString& name);
    // Loads the libraries SaveMark needs: 0, or the first failure's result (TMapLibraryResult; a missing
    // file shows no message).
    int LoadMarkLibraries();

    // 0 with mesh filled from the adaptor's coordinates; -1 when they have no mesh.
    int MeshFromCoordinates(TAtlasMeshPos& mesh);
    // The result of DTMapAdrs, its message shown; mesh filled for 0 and 1.
    int MeshFromPhone(TAtlasMeshPos& mesh);

    // The mark record of a mesh position and a name.
    static TAtlasMarkRec MarkRecord(const TAtlasMeshPos& mesh, const AnsiString& name);
    // The mesh position in DTMapAdrs's result buffer.
    static TAtlasMeshPos MeshFromAddressBuffer(const char* buffer);

private:
    int LoadAtm95();
    int LoadDTMap32();
    int LoadMarkDll();

    QPointer<QWidget> m_owner;
    QString m_programFolder;
    int m_searchKind = 0;
    quint32 m_latitude = 0, m_longitude = 0;
    QString m_tel;
    quint32 m_latitudeBack = 0, m_longitudeBack = 0;
    TMapLibrary m_atm95, m_dtMap32, m_markDll;
    AtlasCreateWindow2Proc m_createWindow = nullptr;
    AtlasMeshToBearingsProc m_meshToBearings = nullptr;
    AtlasBearingsToMeshProc m_bearingsToMesh = nullptr;
    DTMapAdrsProc m_dtMapAdrs = nullptr;
    AtlasSaveMarkFileProc m_saveMarkFile = nullptr;
};
