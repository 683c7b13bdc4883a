// The window's controls as designed: containers, positions and sizes in twips,
// captions, fonts, colours and initial states.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "matching/LyricsIndex.h"
#include "tags/Id3v2Lyrics.h"
#include "window/Controls.h"
#include "window/ResultListModel.h"
#include "window/ResultListView.h"
#include "windowlogic/RowLook.h"
#include "window/TagSettings.h"
#include "window/Twips.h"
#include "window/WindowColours.h"
#include "window/WindowFonts.h"
#include "windowlogic/WindowTexts.h"
#include "window/WrappingCheckBox.h"
#include "window/frmMain.h"

namespace versemark {
namespace {

QString Element(const char* group, int element) {
    return QStringLiteral("%1_%2").arg(QLatin1String(group)).arg(element);
}

QGroupBox* MakeFrame(QWidget* parent, int element, const QString& caption, int left, int top,
                     int width, int height) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(Element("fraFrames", element));
    SetTwipGeometry(frame, left, top, width, height);
    return frame;
}

QWidget* MakePanel(QWidget* parent, const QString& name, int left, int top, int width, int height) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(name);
    SetTwipGeometry(panel, left, top, width, height);
    return panel;
}

// List column widths in twips.
constexpr int kColumnWidths[kColumnCount] = {300, 4000, 4000};

// Legend texts: 26 blanks between the two column heads.
const QString kLegendHeads = QStringLiteral("mp3                          lyrics");
const QString kAlertTip = QStringLiteral("This lyrics file matched more than 1 mp3");

}  // namespace

void frmMain::CreateInfoFrame() {
    fraFrames[3] =
        MakeFrame(this, 3, QStringLiteral("Selected song information"), 120, 120, 9255, 1095);
    picInfo = MakePanel(fraFrames[3], QStringLiteral("picInfo"), 120, 240, 9000, 825);
    picInfo->hide();

    img[0] = MakePicture(picInfo, Element("img", 0), 0, 0, 255, 255);
    Label1[4] =
        MakeLabel(picInfo, Element("Label1", 4), QStringLiteral("Mp3 file:"), 360, 30, 600, 195);
    lblInfo[0] = MakeLabel(picInfo, Element("lblInfo", 0), QStringLiteral("Mp3 File"), 1080, 30,
                           600, 195, AutoSize::On);
    Line1 = MakeRule(picInfo, QStringLiteral("Line1"), 0, 360, 9000, 360);
    img[1] = MakePicture(picInfo, Element("img", 1), 0, 480, 255, 255);
    Label1[5] = MakeLabel(picInfo, Element("Label1", 5), QString::fromLatin1(texts::kLyricsCaption),
                          360, 510, 600, 195);
    lblInfo[1] = MakeLabel(picInfo, Element("lblInfo", 1), QStringLiteral("Lyrics file"), 1080, 510,
                           645, 195, AutoSize::On);
    cboLyrics = new QComboBox(picInfo);
    cboLyrics->setObjectName(QStringLiteral("cboLyrics"));
    SetTwipGeometry(cboLyrics, 1080, 450, 5775, 315);
    cboLyrics->hide();  // lblInfo_1 shows the single lyrics file until a row says otherwise
    cmdDisplaySavedLyrics =
        MakeButton(picInfo, QStringLiteral("cmdDisplaySavedLyrics"),
                   QString::fromLatin1(texts::kDisplaySavedLyrics), 6120, 0, 2415, 255);
    cmdDisplayLyrics = MakeButton(picInfo, QStringLiteral("cmdDisplayLyrics"),
                                  QString::fromLatin1(texts::kDisplayLyrics), 6960, 480, 1575, 255);
    img[2] = MakePicture(picInfo, Element("img", 2), 8640, 0, 255, 255);
    img[2]->setToolTip(QStringLiteral("An id3v1 tag will be added to this file"));
    img[4] = MakePicture(picInfo, Element("img", 4), 8640, 0, 255, 255);
    img[4]->setToolTip(QStringLiteral(
        "This file contains a tag version higher than the supported. It is not recommended to "
        "tag it."));
    img[3] = MakePicture(picInfo, Element("img", 3), 8640, 480, 255, 255);
    img[3]->setToolTip(kAlertTip);
    for (const int hidden : {2, 3, 4}) {
        img[static_cast<std::size_t>(hidden)]->hide();
    }
}

void frmMain::CreateBrowseFrame() {
    fraFrames[0] = MakeFrame(this, 0, QStringLiteral("Browse"), 9480, 120, 3015, 2295);
    QWidget* panel = MakePanel(fraFrames[0], Element("Picture1", 0), 120, 240, 2775, 1935);
    Picture1[0] = panel;

    Label1[8] = MakeLabel(
        panel, Element("Label1", 8),
        QStringLiteral(
            "Step one: Select the folder where the mp3 files you want to tag are located."),
        0, 0, 2775, 495);
    Label1[3] =
        MakeLabel(panel, Element("Label1", 3), QStringLiteral("Folder:"), 135, 645, 480, 195);
    cmdBrowseForFolder =
        MakeButton(panel, QStringLiteral("cmdBrowseForFolder"),
                   QString::fromLatin1(texts::kFolderButtonStart), 720, 480, 2055, 540);
    chkSubfolders = new QCheckBox(QStringLiteral("   search subfolders"), panel);
    chkSubfolders->setObjectName(QStringLiteral("chkSubfolders"));
    SetTwipGeometry(chkSubfolders, 1080, 1080, 1695, 255);
    chkSubfolders->setChecked(true);
    // The caption's three leading blanks are the gap after the box; the style adds none.
    chkSubfolders->setStyleSheet(QStringLiteral("QCheckBox { spacing: 0px; }"));
    Label1[1] = MakeLabel(panel, Element("Label1", 1), QString::fromLatin1(kMatchesPending), 120,
                          1440, 840, 195, AutoSize::On);
    Label1[0] =
        MakeLabel(panel, Element("Label1", 0),
                  QString::fromLatin1(kLyricsCountPlaceholder.data(),
                                      static_cast<qsizetype>(kLyricsCountPlaceholder.size())),
                  120, 1680, 2640, 195);
    Label1[0]->setFont(LyricsCountFont());
}

void frmMain::CreateSelectFrame() {
    fraFrames[1] = MakeFrame(this, 1, QStringLiteral("Select songs"), 9480, 2520, 3015, 4680);
    QWidget* panel = MakePanel(fraFrames[1], Element("Picture1", 1), 120, 240, 2775, 4350);
    Picture1[1] = panel;

    Label1[9] = MakeLabel(panel, Element("Label1", 9),
                          QStringLiteral("Step two: Check the files that you want to tag. PAY "
                                         "ATTENTION on alerts, unfiltered and  colored files."),
                          120, 0, 2535, 615);
    cmdSel[0] = MakeButton(panel, Element("cmdSel", 0), QString::fromLatin1(texts::kSelectAll), 0,
                           720, 1335, 495);
    cmdSel[2] = MakeButton(panel, Element("cmdSel", 2),
                           QString::fromLatin1(texts::kInvertSelection), 1440, 720, 1335, 495);
    cmdCheck[0] = MakeButton(panel, Element("cmdCheck", 0),
                             QString::fromLatin1(texts::kCheckSelected), 0, 1320, 1335, 495);
    cmdCheck[1] = MakeButton(panel, Element("cmdCheck", 1),
                             QString::fromLatin1(texts::kUncheckSelected), 1440, 1320, 1335, 495);
    Label1[2] = MakeLabel(panel, Element("Label1", 2), QStringLiteral("Checked: 0"), 120, 1920, 825,
                          195, AutoSize::On);

    // The legend: two example rows, each above the two filters it explains.
    Line4 = MakeRule(panel, QStringLiteral("Line4"), 0, 2280, 2775, 2280);
    Label3 =
        MakeLabel(panel, QStringLiteral("Label3"), QStringLiteral("Legend"), 0, 2295, 2760, 195);
    Label2 = MakeLabel(panel, QStringLiteral("Label2"), kLegendHeads, 480, 2520, 1935, 255);
    Line2 = MakeRule(panel, QStringLiteral("Line2"), 0, 2520, 2775, 2520);
    Line3 = MakeRule(panel, QStringLiteral("Line3"), 1380, 2520, 1380, 4290);
    Label1[6] = MakeLabel(panel, Element("Label1", 6), QStringLiteral("Example"), 360, 2760, 600,
                          195, AutoSize::On);
    img[6] = MakePicture(panel, Element("img", 6), 1980, 2760, 255, 255);
    img[6]->setToolTip(QStringLiteral("Lyrics file without the filter marker"));
    cmdSel[5] = MakeButton(panel, Element("cmdSel", 5), QString::fromLatin1(texts::kWithLyrics3Tag),
                           -7, 3000, 1335, 495);
    cmdSel[3] = MakeButton(panel, Element("cmdSel", 3), QString::fromLatin1(texts::kUnfiltered),
                           1440, 3000, 1335, 495);
    img[5] = MakePicture(panel, Element("img", 5), 540, 3600, 255, 255);
    img[5]->setToolTip(QStringLiteral("This mp3 matched more than 1 lyrics file"));
    Label1[7] = MakeLabel(panel, Element("Label1", 7), QStringLiteral("Example"), 1800, 3600, 600,
                          195, AutoSize::On);
    cmdSel[6] = MakeButton(panel, Element("cmdSel", 6),
                           QString::fromLatin1(texts::kMoreThanOneMatch), 0, 3840, 1335, 495);
    cmdSel[6]->setToolTip(QStringLiteral("mp3 files which were matched to more than 1 lyrics"));
    cmdSel[1] = MakeButton(panel, Element("cmdSel", 1),
                           QString::fromLatin1(texts::kMatchedMoreThanOnce), 1440, 3840, 1335, 495);
    cmdSel[1]->setToolTip(QStringLiteral("Lyrics files which were matched for more than 1 mp3"));

    SetTextColour(Label3, kSystemButtonShadow);
    SetTextColour(Label2, kSystemButtonShadow);
    SetTextColour(Label1[6], TaggedFileColour);
    SetTextColour(Label1[7], SharedLyricsColour);
}

void frmMain::CreateTagFrame() {
    // Taller than the other frames' share by the room of the ID3v2 check box,
    // taken from the frame above.
    fraFrames[2] = MakeFrame(this, 2, QStringLiteral("Insert tags"), 9480, 7305, 3015, 1470);
    QWidget* panel = MakePanel(fraFrames[2], Element("Picture1", 3), 120, 240, 2775, 1110);
    Picture1[3] = panel;

    Label1[10] = MakeLabel(panel, Element("Label1", 10), QStringLiteral("Step three: Tag them!"), 0,
                           0, 2745, 195);
    cmdTagThem = MakeButton(panel, QStringLiteral("cmdTagThem"),
                            QString::fromLatin1(texts::kTagCheckedFiles), 0, 240, 2775, 375);
    QFont bold = DefaultWindowFont();
    bold.setBold(true);
    cmdTagThem->setFont(bold);
    cmdTagThem->setEnabled(false);

    // Only a build that can write the frame offers it.
    if (Id3v2LyricsAvailable()) {
        chkAlsoId3v2 = new WrappingCheckBox(QString::fromLatin1(texts::kAlsoId3v2), panel);
        chkAlsoId3v2->setObjectName(QStringLiteral("chkAlsoId3v2"));
        SetTwipGeometry(chkAlsoId3v2, 0, 645, 2775, 465);
        chkAlsoId3v2->setChecked(RememberedAlsoId3v2());
        connect(chkAlsoId3v2, &QCheckBox::toggled, this,
                [](bool checked) { RememberAlsoId3v2(checked); });
    }
}

void frmMain::CreateListAndViewer() {
    list = new ResultListView(this);
    list->setObjectName(QStringLiteral("list"));
    listModel_ = new ResultListModel(imgListMain, this);
    list->setModel(listModel_);
    SetTwipGeometry(list, 120, 1320, 9255, 7455);
    for (int column = 0; column < kColumnCount; ++column) {
        list->header()->resizeSection(column,
                                      TwipsToPixels(kColumnWidths[column], LogicalDpi(list)));
    }

    txtViewLyrics = new QPlainTextEdit(this);
    txtViewLyrics->setObjectName(QStringLiteral("txtViewLyrics"));
    txtViewLyrics->setReadOnly(true);
    txtViewLyrics->setFont(ViewerFont());
    SetTwipGeometry(txtViewLyrics, 120, 1320, 9255, 7455);
    txtViewLyrics->hide();
}

}  // namespace versemark
