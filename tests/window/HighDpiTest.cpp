// SPDX-License-Identifier: GPL-3.0-or-later
// The window on a screen of another dpi (192 unless the run names one): the
// twip layout is the design's, turned into pixels at the screen's logical dpi;
// fonts and pictures grow with it; no caption is cut off.
#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTreeView>
#include <cmath>

#include "WindowTestSupport.h"
#include "support/RoadLibrary.h"
#include "tags/Id3v2Lyrics.h"
#include "window/ImageList.h"
#include "window/Twips.h"

using namespace versemark;
using namespace versemark::testing;

namespace {

// The run's screen: VERSEMARK_SCREEN_DPI names the dpi the environment gives
// (by QT_SCALE_FACTOR, or QT_FONT_DPI without Qt's scaling); without it the test
// asks Qt for a 192-dpi screen itself.
constexpr char kScreenDpiVariable[] = "VERSEMARK_SCREEN_DPI";
constexpr int kDefaultScreenDpi = 192;
constexpr qreal kDesignPointSize = 8.25;
constexpr qreal kPointsPerInch = 72;

int ExpectedScreenDpi() {
    bool ok = false;
    const int dpi = qEnvironmentVariableIntValue(kScreenDpiVariable, &ok);
    return ok ? dpi : kDefaultScreenDpi;
}

// Device pixels per inch as drawn: the logical dpi times Qt's own scaling.
qreal EffectiveDpi(const QWidget* widget) {
    return widget->logicalDpiX() * widget->devicePixelRatioF();
}

// Where a caption is cut off, as "name: needed w x h in w x h"; empty when it fits.
QString Clipped(const QWidget* widget, const QSize& needed, const QSize& room) {
    if (needed.width() <= room.width() && needed.height() <= room.height()) {
        return QString();
    }
    return QStringLiteral("%1: needs %2x%3 in %4x%5")
        .arg(widget->objectName())
        .arg(needed.width())
        .arg(needed.height())
        .arg(room.width())
        .arg(room.height());
}

QString ClippedLabel(const QLabel* label) {
    const QRect room = label->contentsRect();
    const int flags = Qt::AlignLeft | Qt::AlignTop | (label->wordWrap() ? Qt::TextWordWrap : 0);
    const QRect needed = label->fontMetrics().boundingRect(room, flags, label->text());
    return Clipped(label, needed.size(), room.size());
}

// The buttons draw their caption wrapped and centred within the style's contents
// rectangle. The font's line box may be taller than the rectangle of a low
// button while the letters themselves fit: what counts is the ink.
QString ClippedButton(const QPushButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    const QRect room =
        button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    const QFontMetrics metrics = button->fontMetrics();
    const QRect lines =
        metrics.boundingRect(room, Qt::AlignCenter | Qt::TextWrapAnywhere, button->text());
    const int unusedLineBox = metrics.height() - metrics.tightBoundingRect(button->text()).height();
    return Clipped(button, QSize(lines.width(), lines.height() - unusedLineBox), room.size());
}

// The check box's caption beside its indicator.
QString ClippedCheckBox(const QCheckBox* box) {
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect room = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
    const QFontMetrics metrics = box->fontMetrics();
    return Clipped(box, QSize(metrics.horizontalAdvance(box->text()), metrics.height()),
                   room.size());
}

// The road library matched, and a tagged row's panel shown.
struct DpiWindow {
    DpiWindow() {
        road.IndexInto(window.Values);
        window.Show();
        window.ChooseFolderAndMatch(road.Music());
        auto* list = window.Find<QTreeView>("list");
        const QModelIndex index = list->model()->index(window.RowOf(kEpsilon), 1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    }
    qreal Dpi() { return window.Form().logicalDpiX(); }

    RoadLibrary road;
    WindowUnderTest window;
};

}  // namespace

class HighDpiTest : public QObject {
    Q_OBJECT

  private slots:
    void theScreenHasTheDpiAskedFor() {
        WindowUnderTest window;
        window.Show();
        QCOMPARE(EffectiveDpi(&window.Form()), qreal(ExpectedScreenDpi()));
    }

    void theTwipLayoutIsTheDesignAtTheScreensDpi() {
        DpiWindow dpi;
        WindowUnderTest& window = dpi.window;
        const qreal logical = dpi.Dpi();
        QCOMPARE(window.Form().size(),
                 QSize(TwipsToPixels(12585, logical), TwipsToPixels(9795, logical)));
        // The window's inner size in twips: the design's, give or take the rounding
        // to whole pixels where a pixel is not a whole number of twips.
        const QSize client = ClientSizeInTwips(&window.Form());
        const int w = client.width();
        const int h = client.height();
        QVERIFY(std::abs(w - 12585) * logical < kTwipsPerInch);
        QVERIFY(std::abs(h - 9795) * logical < kTwipsPerInch);
        std::vector<std::pair<QString, QRect>> design = {
            {"list", QRect(100, 1295, w - 3315, h - 1395)},
            {"fraFrames_3", QRect(120, 120, w - 3315, 1095)},
            {"fraFrames_0", QRect(w - 3115, 120, 3015, 2760)},
            {"fraFrames_1", QRect(w - 3115, 2985, 3015, 4680)},
            {"fraFrames_2", QRect(w - 3115, 7770, 3015, 1935)},
            {"chkAllFormats", QRect(0, 1365, 2775, 465)},
            {"chkBesideFile", QRect(0, 1110, 2775, 465)},
            {"cmdBrowseForFolder", QRect(720, 480, 2055, 540)},
            {"cmdTagThem", QRect(0, 240, 2775, 375)},
            {"cmdDisplayLyrics", QRect(w - 3515 - 1575 - 340, 480, 1575, 255)},
        };
        if (Id3v2LyricsAvailable()) {
            design.emplace_back("chkAlsoId3v2", QRect(0, 645, 2775, 465));
        }
        for (const auto& [name, twips] : design) {
            const QWidget* widget = window.Find<QWidget>(name);
            QCOMPARE(TwipGeometry(widget), twips);
            // Both edges rounded, so controls that meet in twips meet in pixels.
            const QRect pixels(
                QPoint(TwipsToPixels(twips.left(), logical), TwipsToPixels(twips.top(), logical)),
                QPoint(TwipsToPixels(twips.left() + twips.width(), logical) - 1,
                       TwipsToPixels(twips.top() + twips.height(), logical) - 1));
            QCOMPARE(widget->geometry(), pixels);
        }
        const QHeaderView* header = window.Find<QTreeView>("list")->header();
        QCOMPARE(header->sectionSize(0), TwipsToPixels(300, logical));
        QCOMPARE(header->sectionSize(1), TwipsToPixels(4000, logical));
    }

    void fontsAndPicturesGrowWithTheDpi() {
        DpiWindow dpi;
        WindowUnderTest& window = dpi.window;
        const qreal scale = EffectiveDpi(&window.Form()) / kDesignDpi;
        const int fontPixels =
            qRound(kDesignPointSize * EffectiveDpi(&window.Form()) / kPointsPerInch);
        for (const QString name : {"Label1_8", "cmdTagThem", "lblInfo_0", "list"}) {
            const QWidget* widget = window.Find<QWidget>(name);
            QCOMPARE(qRound(QFontInfo(widget->font()).pixelSize() * widget->devicePixelRatioF()),
                     fontPixels);
        }
        // Pictures: 16 pixels at 96 dpi, as many more as the screen's dpi says.
        const int pictureSize = qRound(kPictureSize * scale);
        for (const QString name : {"img_0", "img_1", "img_5", "img_6"}) {
            const QLabel* picture = window.Label(name);
            const QPixmap shown = picture->pixmap();
            QCOMPARE(
                qRound(shown.width() / shown.devicePixelRatio() * picture->devicePixelRatioF()),
                pictureSize);
        }
        const QAbstractItemModel* model = window.Find<QTreeView>("list")->model();
        const QPixmap cell = model->index(0, 1).data(Qt::DecorationRole).value<QPixmap>();
        QCOMPARE(qRound(cell.width() * window.Form().devicePixelRatioF()), pictureSize);
    }

    void noCaptionIsCutOff() {
        DpiWindow dpi;
        WindowUnderTest& window = dpi.window;
        QStringList clipped;
        for (const QLabel* label : window.Form().findChildren<QLabel*>()) {
            if (label->isVisible() && !label->text().isEmpty()) {
                clipped << ClippedLabel(label);
            }
        }
        for (const QPushButton* button : window.Form().findChildren<QPushButton*>()) {
            if (button->isVisible()) {
                clipped << ClippedButton(button);
            }
        }
        const auto* subfolders = window.Find<QCheckBox>("chkSubfolders");
        clipped << ClippedCheckBox(subfolders);
        clipped.removeAll(QString());
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join("; ")));
    }
};

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet(kScreenDpiVariable)) {
        qputenv("QT_SCALE_FACTOR", QByteArray::number(kDefaultScreenDpi / kDesignDpi));
    }
    QApplication app(argc, argv);
    HighDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "HighDpiTest.moc"
