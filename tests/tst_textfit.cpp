// What a person sees on Linux: in English and in Chinese, at the scale the
// test runs with (QT_SCALE_FACTOR), every caption, button text, check box
// text and combo box entry lies inside its widget, and a whole MAC inside
// its table column. Measured with each widget's own font and style, not
// with the fit's own arithmetic.
#include "privatenetwork.h"
#include "windowharness.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTableWidget>
#include <QtTest>

class TestTextFit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { REQUIRE_PRIVATE_NETWORK(); }
    void everyTextInsideItsWidget_data()
    {
        QTest::addColumn<bool>("chinese");
        QTest::newRow("English") << false;
        QTest::newRow("Chinese") << true;
    }
    void everyTextInsideItsWidget();
};

namespace {

QStringList cutTexts(QWidget *window)
{
    QStringList cut;
    const auto check = [&](QWidget *w, const QString &text, int room) {
        const int needed = w->fontMetrics().horizontalAdvance(text);
        if (w->isVisibleTo(window) && !text.isEmpty() && needed > room)
            cut << QStringLiteral("%1 \"%2\": %3 > %4")
                       .arg(w->objectName(), text)
                       .arg(needed)
                       .arg(room);
    };
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (label->pixmap(Qt::ReturnByValue).isNull())
            check(label, label->text(), label->contentsRect().width());
    }
    for (QPushButton *button : window->findChildren<QPushButton *>()) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        option.icon = button->icon();
        option.iconSize = button->iconSize();
        const QRect contents =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
        check(button, button->text(), contents.width() - icon);
    }
    for (QCheckBox *box : window->findChildren<QCheckBox *>()) {
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        const QRect contents =
            box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
        check(box, box->text(), contents.width());
    }
    for (QComboBox *combo : window->findChildren<QComboBox *>()) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                           QStyle::SC_ComboBoxEditField, combo);
        for (int i = 0; i < combo->count(); ++i)
            check(combo, combo->itemText(i), field.width());
    }
    auto *table = window->findChild<QTableWidget *>(QStringLiteral("tableWidget_DeviceList"));
    check(table, QStringLiteral("00:1A:2B:3C:4D:5E").remove(':'), table->columnWidth(2) - 6);
    return cut;
}

} // namespace

void TestTextFit::everyTextInsideItsWidget()
{
    QFETCH(bool, chinese);
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *language = child<QPushButton>(&window, "pushButton_Yuyan");
    if (chinese)
        QTest::mouseClick(language, Qt::LeftButton);
    const QStringList cut = cutTexts(&window);
    if (chinese)
        QTest::mouseClick(language, Qt::LeftButton); // English again for the next window
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join('\n')));
}

QTEST_MAIN(TestTextFit)
#include "tst_textfit.moc"
