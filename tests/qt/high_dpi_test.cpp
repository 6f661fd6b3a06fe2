// The window at other screen densities: CTest runs this file once per device
// pixel ratio and per logical dpi, and says which through TORNEL_EXPECT_DPI and
// TORNEL_EXPECT_DPR, so a setting that silently did not take effect fails.
#include "layout/control_table.h"
#include "qt/fonts.h"
#include "qt/velmarsh.h"
#include "recording_message_box.h"
#include "scripted_random.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <cmath>

using namespace testing_support;

class HighDpiTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void screenHasTheDensityUnderTest();
    void clientAreaScalesWithTheDensity();
    void coloursSitAtTheScaledPositions();
    void bordersStayOneDevicePixelThin();
    void largeFontGrowsWithTheDensity();
    void wholeRulesTextFitsItsBox();
    void iconHasImagesForEveryRatio();

private:
    // Logical pixels a twips length spans at the screen's dpi, computed afresh here.
    [[nodiscard]] double pixels(int twips) const { return twips * m_dpi / 1440.0; }
    [[nodiscard]] QRgb sample(double logicalX, double logicalY) const;

    ScriptedRandom m_random;
    RecordingMessageBox m_messages;
    std::unique_ptr<qt::Velmarsh> m_window;
    QImage m_shot;
    double m_dpi = 96.0;
    double m_dpr = 1.0;
};

void HighDpiTest::init()
{
    m_window = std::make_unique<qt::Velmarsh>(m_random, m_messages, [](int) { });
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window->window()));
    m_dpi = m_window->window()->logicalDpiX();
    m_dpr = m_window->window()->devicePixelRatioF();
    m_shot = m_window->window()->grab().toImage();
}

void HighDpiTest::cleanup()
{
    m_window.reset();
}

QRgb HighDpiTest::sample(double logicalX, double logicalY) const
{
    return m_shot.pixel(int(std::floor(logicalX * m_dpr)), int(std::floor(logicalY * m_dpr)))
            & 0xFFFFFF;
}

void HighDpiTest::screenHasTheDensityUnderTest()
{
    QCOMPARE(m_dpi, qEnvironmentVariable("TORNEL_EXPECT_DPI", QStringLiteral("96")).toDouble());
    QCOMPARE(m_dpr, qEnvironmentVariable("TORNEL_EXPECT_DPR", QStringLiteral("1")).toDouble());
}

void HighDpiTest::clientAreaScalesWithTheDensity()
{
    const QSize client = m_window->window()->size();
    QCOMPARE(client, QSize(qRound(351 * m_dpi / 96), qRound(289 * m_dpi / 96)));
    QVERIFY(std::abs(m_shot.width() - client.width() * m_dpr) <= 1.0);
    QVERIFY(std::abs(m_shot.height() - client.height() * m_dpr) <= 1.0);
}

void HighDpiTest::coloursSitAtTheScaledPositions()
{
    // A point three logical pixels inside each coloured label's bottom-left
    // corner, clear of its border, its centred caption and the rules text.
    for (const layout::ControlSpec &spec : layout::ControlTable) {
        if (!spec.visible || !spec.background)
            continue;
        const rules::Rgb expected = *spec.background;
        const QRgb seen = sample(pixels(spec.left) + 3, pixels(spec.top + spec.height) - 4);
        QCOMPARE(seen, qRgb(expected.red, expected.green, expected.blue) & 0xFFFFFF);
    }
}

void HighDpiTest::bordersStayOneDevicePixelThin()
{
    // Die(1)'s left border is the first device pixel column; the next one is yellow.
    // Die(2)'s left border sits one logical pixel inside Die(1)'s right edge and
    // is the only dark column between the two yellow faces.
    const int y = int(2.5 * m_dpr); // above the dice' centred captions
    QCOMPARE(m_shot.pixel(0, y) & 0xFFFFFF, 0u);
    QCOMPARE(m_shot.pixel(1, y) & 0xFFFFFF, 0xFFFF00u);
    int darkColumns = 0;
    for (int x = qRound(pixels(200) * m_dpr); x < qRound(pixels(700) * m_dpr); ++x)
        darkColumns += (m_shot.pixel(x, y) & 0xFFFFFF) == 0 ? 1 : 0;
    QCOMPARE(darkColumns, 1);
}

void HighDpiTest::largeFontGrowsWithTheDensity()
{
    const auto *score = qobject_cast<QLabel *>(m_window->control({rules::name::Score, 1}));
    QVERIFY(score);
    const double expectedPixels = 18.0 * m_dpi / 72.0;
    QVERIFY(std::abs(QFontInfo(score->font()).pixelSize() - expectedPixels) <= 1.0);
    QVERIFY(QFontMetrics(score->font()).height() < score->height());
}

void HighDpiTest::wholeRulesTextFitsItsBox()
{
    const auto *rules = qobject_cast<QLabel *>(m_window->control({rules::name::Instructions, 0}));
    QVERIFY(rules);
    const QRect box = rules->contentsRect();
    const QRect needed = QFontMetrics(rules->font())
                                 .boundingRect(box, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop,
                                         rules->text());
    QVERIFY2(box.contains(needed),
            qPrintable(QStringLiteral("needs %1x%2, box %3x%4")
                               .arg(needed.width())
                               .arg(needed.height())
                               .arg(box.width())
                               .arg(box.height())));
    QCOMPARE(QFontInfo(rules->font()).weight(), int(QFont::Normal));
}

void HighDpiTest::iconHasImagesForEveryRatio()
{
    // A 16 and a 32 px icon at this ratio, each from an image at least as wide in device
    // pixels, never one blown up from a smaller image.
    const QIcon icon = m_window->window()->windowIcon();
    for (const int size : {16, 32}) {
        const QPixmap image = icon.pixmap(QSize(size, size), m_dpr);
        QVERIFY(!image.isNull());
        const double devicePixels = size * m_dpr;
        QVERIFY2(image.width() >= devicePixels, qPrintable(QString::number(image.width())));
        const QList<QSize> drawn = icon.availableSizes();
        QVERIFY(std::any_of(
                drawn.begin(), drawn.end(), [&](QSize s) { return s.width() >= devicePixels; }));
    }
}

QTEST_MAIN(HighDpiTest)
#include "high_dpi_test.moc"
