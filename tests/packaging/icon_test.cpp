// SPDX-FileCopyrightText: The Tornel developers
// The menu's icons at the sizes the program draws itself show the same pixels.
#include "qt/program_icon.h"

#include <QIcon>
#include <QImage>
#include <QTest>

class IconTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void packagedIconEqualsTheProgramsOwn_data();
    void packagedIconEqualsTheProgramsOwn();
};

void IconTest::packagedIconEqualsTheProgramsOwn_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("16 px") << 16;
    QTest::newRow("32 px") << 32;
}

void IconTest::packagedIconEqualsTheProgramsOwn()
{
    QFETCH(int, size);
    const QString file = QStringLiteral(TORNEL_ICON_DIR "/tornel-%1.png").arg(size);
    const QImage packaged(file);
    QVERIFY2(!packaged.isNull(), qPrintable(file));
    const QImage drawn = qt::programIcon().pixmap(size).toImage();
    QCOMPARE(drawn.size(), packaged.size());
    QCOMPARE(drawn.convertToFormat(QImage::Format_RGB32),
            packaged.convertToFormat(QImage::Format_RGB32));
}

QTEST_MAIN(IconTest)
#include "icon_test.moc"
