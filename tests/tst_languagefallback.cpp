#include "privatenetwork.h"
#include "windowharness.h"

#include <QLabel>
#include <QPushButton>
#include <QResource>
#include <QTableWidget>
#include <QtTest>

// A window built without the compiled-in resource tree: no catalogue loads.
class TestLanguageFallback : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void failedLoadChangesNoTextButFlipsLanguage();
};

void TestLanguageFallback::initTestCase()
{
    REQUIRE_PRIVATE_NETWORK();
}

void TestLanguageFallback::failedLoadChangesNoTextButFlipsLanguage()
{
    MainWindow window;
    auto *language = child<QPushButton>(&window, "pushButton_Yuyan");
    auto *baud = child<QLabel>(&window, "label_4");
    QCOMPARE(language->text(), QStringLiteral("English")); // the form's source text
    QTest::mouseClick(language, Qt::LeftButton);           // asks for Chinese and fails
    QCOMPARE(language->text(), QStringLiteral("English"));
    QCOMPARE(baud->text(), QStringLiteral("Baud Rate(bps)"));

    // With the catalogues present the next click asks for English, which shows
    // that the failed switch still flipped the language.
    QVERIFY(QResource::registerResource(QStringLiteral(CATALOGUES_RCC)));
    QTest::mouseClick(language, Qt::LeftButton);
    QCOMPARE(language->text(), QStringLiteral("中文"));
    QCOMPARE(child<QTableWidget>(&window, "tableWidget_DeviceList")->item(0, 0)->text(),
             QStringLiteral("Device IP"));
}

QTEST_MAIN(TestLanguageFallback)
#include "tst_languagefallback.moc"
