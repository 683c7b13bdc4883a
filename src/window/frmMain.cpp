#include "window/frmMain.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QShortcut>

#include "window/Controls.h"
#include "window/DisplayString.h"
#include "window/ResultListModel.h"
#include "window/ResultListView.h"
#include "windowlogic/RowLook.h"
#include "window/Twips.h"
#include "window/WindowColours.h"
#include "window/WindowFonts.h"
#include "windowlogic/WindowTexts.h"

namespace versemark {
namespace {

// The window's inner size at design time, in twips.
constexpr QSize kDesignClientSize(12585, 8865);

}  // namespace

frmMain::frmMain(ProgramValues& values, WindowServices services, QWidget* parent)
    : QWidget(parent),
      values_(values),
      services_(std::move(services)),
      imgListMain(DesignScale(this)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromLatin1(texts::kWindowCaption));
    setWindowIcon(imgListMain.WindowIcon());
    setFont(DefaultWindowFont());

    CreateInfoFrame();
    CreateBrowseFrame();
    CreateSelectFrame();
    CreateTagFrame();
    CreateListAndViewer();
    SetStepColours(true);
    ConnectControls();
    SetTabOrder();
    setAcceptDrops(true);

    resize(TwipSizeToPixels(this, kDesignClientSize));
    Form_Load();
}

frmMain::~frmMain() {
    // The controls are deleted after this window's own members; nothing they
    // signal on the way out may reach a handler any more.
    for (QObject* child : findChildren<QObject*>()) {
        QObject::disconnect(child, nullptr, this, nullptr);
    }
}

void frmMain::ConnectControls() {
    connect(cmdBrowseForFolder, &QPushButton::clicked, this,
            [this] { cmdBrowseForFolder_Click(); });
    connect(cmdTagThem, &QPushButton::clicked, this, [this] { cmdTagThem_Click(); });
    for (std::size_t i = 0; i < cmdCheck.size(); ++i) {
        connect(cmdCheck[i], &QPushButton::clicked, this,
                [this, i] { cmdCheck_Click(static_cast<int>(i)); });
    }
    for (std::size_t i = 0; i < cmdSel.size(); ++i) {
        if (cmdSel[i] != nullptr) {
            connect(cmdSel[i], &QPushButton::clicked, this,
                    [this, i] { cmdSel_Click(static_cast<int>(i)); });
        }
    }
    connect(listModel_, &ResultListModel::CheckBoxClicked, this,
            [this](int row) { list_ItemCheck(row); });
    connect(list->header(), &QHeaderView::sectionClicked, this,
            [this](int section) { list_ColumnClick(section + 1); });
    connect(list, &ResultListView::RowClicked, this, [this](int row) { list_ItemClick(row); });
    connect(list, &ResultListView::CheckKeyPressed, this, [this] { list_KeySpace(); });
    connect(list, &ResultListView::RowOpened, this, [this](int row) { list_KeyEnter(row); });
    auto* closeViewer = new QShortcut(QKeySequence(Qt::Key_Escape), txtViewLyrics);
    closeViewer->setContext(Qt::WidgetShortcut);
    connect(closeViewer, &QShortcut::activated, this, [this] { txtViewLyrics_KeyEscape(); });
    connect(cboLyrics, &QComboBox::currentIndexChanged, this, [this] { cboLyrics_Click(); });
    connect(cmdDisplayLyrics, &QPushButton::clicked, this, [this] { cmdDisplayLyrics_Click(); });
    connect(cmdDisplaySavedLyrics, &QPushButton::clicked, this,
            [this] { cmdDisplaySavedLyrics_Click(); });
}

void frmMain::Form_Load() {
    // The list takes its row and header pictures from imgListMain through its model.
    img[0]->setPixmap(imgListMain.Picture(kPictureOneMatch));
    img[2]->setPixmap(imgListMain.Picture(kPictureAlert));
    img[3]->setPixmap(imgListMain.Picture(kPictureAlert));
    img[4]->setPixmap(imgListMain.Picture(kPictureNewerTag));
    img[5]->setPixmap(imgListMain.Picture(kPictureAlert));
    img[6]->setPixmap(imgListMain.Picture(kPictureUnfiltered));
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmMain::closeEvent(QCloseEvent* event) {
    event->accept();
    Form_Unload();
}

void frmMain::Form_Unload() {
    // A running pass yields to events and would go on after the window has gone:
    // the program ends here instead, rows and all. (The rows are not removed under
    // the pass's feet first; the process ending removes them.)
    if (state_.PassRunning && services_.EndProgram) {
        services_.EndProgram();
        return;
    }
    listModel_->RemoveAllRows();
}

void frmMain::SetLyricsCountCaption(const std::string& caption) {
    SetCaption(Label1[0], DisplayString(caption));
}

void frmMain::SetSubfolders(bool checked) {
    chkSubfolders->setChecked(checked);
}

QString frmMain::MatchesCaption() const {
    return Label1[1]->text();
}

}  // namespace versemark
