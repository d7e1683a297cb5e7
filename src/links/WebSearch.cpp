// The web search dialog.
#include "links/WebSearch.h"

#include "core/ButtonPictures.h"
#include "core/DialogSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "links/WebLinks.h"
#include "platform/IniFile.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString Section = QStringLiteral("WEB SEARCH");
const QString EngineKey = QStringLiteral("Engine");

} // namespace

const QStringList& WebSearchEngineNames()
{
    static const QStringList names = {QStringLiteral("goo"), QStringLiteral("Yahoo! JAPAN"),
                                      QStringLiteral("Excite"), QStringLiteral("インフォシーク")};
    return names;
}

QString WebSearchUrl(int engine, const QString& word)
{
    const QString w = word.trimmed();
    switch (engine) {
    case 0:
        return WebLinks::GooHost + QStringLiteral("/web.jsp?from=") + WebLinks::GooPartnerCode +
               QStringLiteral("&PT=") + WebLinks::GooPartnerCode + QStringLiteral("&IE=SJIS&MT=") +
               FormEncodeShiftJis(ToAnsi(w));
    case 1:
        return WebLinks::YahooHost + QStringLiteral("/search?ei=SJIS&p=") + FormEncodeShiftJis(ToAnsi(w));
    case 2:
        return WebLinks::ExciteHost +
               QStringLiteral("/search.gw?target=combined&look=excite_jp&lang=jp&search=") +
               FormEncodeShiftJis(ToAnsi(w));
    case 3:
        return WebLinks::InfoseekHost + QStringLiteral("/Web?col=OW&svx=101102&qt=") + EncodeUrlUtf8(w);
    }
    return QString();
}

int ReadWebSearchEngine()
{
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    const int engine = ini.ReadInteger(Section, EngineKey, 0);
    return engine >= 0 && engine < WebSearchEngineCount ? engine : 0;
}

TWebSearch::TWebSearch(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("WebSearch"));
    setWindowTitle(QStringLiteral("Web検索"));

    gbxWebSearch = Named<QGroupBox>(
        this, "gbxWebSearch", QStringLiteral(" 検索したい名称と、使用する検索エンジンを指定してください "));
    auto* lblWord = Named<QLabel>(gbxWebSearch, "lblWord", QStringLiteral("検索名称："));
    edtWord = Named<QLineEdit>(gbxWebSearch, "edtWord");
    edtWord->setMaxLength(112);
    edtWord->setMinimumWidth(300);
    auto* lblEngine = Named<QLabel>(gbxWebSearch, "lblEngine", QStringLiteral("検索エンジン："));
    cbxEngine = Named<QComboBox>(gbxWebSearch, "cbxEngine");
    cbxEngine->addItems(WebSearchEngineNames());
    cbxEngine->setCurrentIndex(ReadWebSearchEngine());
    auto* grid = new QGridLayout(gbxWebSearch);
    grid->addWidget(lblWord, 0, 0, Qt::AlignRight);
    grid->addWidget(edtWord, 0, 1);
    grid->addWidget(lblEngine, 1, 0, Qt::AlignRight);
    grid->addWidget(cbxEngine, 1, 1, Qt::AlignLeft);

    bbtnSearch = MakeButton(this, "bbtnSearch", QStringLiteral("検索"));
    SetButtonPicture(bbtnSearch, QStringLiteral("WEBSEARCH"));
    btnClose = MakeButton(this, "btnClose", QStringLiteral("閉じる"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gbxWebSearch);
    layout->addLayout(ButtonRow({bbtnSearch, btnClose}));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto* enter = new TEnterMovesFocus(this);
    enter->addTarget(edtWord, cbxEngine);
    enter->addTarget(cbxEngine, bbtnSearch);
    connect(bbtnSearch, &QPushButton::clicked, this, &TWebSearch::bbtnSearchClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
}

void TWebSearch::SetWord(const QString& word)
{
    edtWord->setText(word);
    edtWord->end(false);
}

void TWebSearch::bbtnSearchClick()
{
    if (edtWord->text().isEmpty()) {
        MessageBoxPos(this, QStringLiteral("検索名称を入力してください  "), ProductTitle,
                      MsgSeam::MbOk | MsgSeam::MbIconInformation);
        edtWord->setFocus();
        return;
    }
    const int engine = cbxEngine->currentIndex();
    // The desktop's handler opens the page; a failure is not reported.
    ShellOpen(WebSearchUrl(engine, edtWord->text()), QString(), QString(), true);
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    ini.WriteInteger(Section, EngineKey, engine);
    ini.UpdateFile();
    accept();
}
