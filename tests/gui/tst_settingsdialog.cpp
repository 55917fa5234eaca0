#include "gui/settingsdialog.h"
#include "scriptedsite.h"
#include "support/recordedform.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using Gui::SettingsDialog;
using namespace Qt::StringLiterals;

class TestSettingsDialog : public QObject
{
    Q_OBJECT

private slots:
    void firstStartOffersItOnceAndItsValuesTakeEffect();
};

// An installed copy whose default share site does not answer: after the usual warning the window
// offers the dialog once; what is typed there is checked, saved, used by the next harvest and
// read back by a new window, which offers nothing and opens the dialog on Ctrl+,.
void TestSettingsDialog::firstStartOffersItOnceAndItsValuesTakeEffect()
{
    QTemporaryDir dir;
    const Config::Provenance settings{dir.filePath(u"vorlen360.ini"_s), {}};
    ScriptedSite site;
    site.addListing(0, 3);
    QVERIFY(site.start());
    Config::Endpoints endpoints = Config::Endpoints::defaults();
    endpoints.updateServer = ScriptedSite::closedSite();
    {
        RecordedForm f(endpoints, QTime(9, 5, 3), {}, settings);
        f.form.start();
        QVERIFY(f.checked());
        QCOMPARE(f.messages.size(), 1);
        QCOMPARE(f.messages.first().text, u"检测更新失败!请您稍后再试,暂时使用原版"_s);
        auto *dialog = f.form.findChild<SettingsDialog *>();
        QVERIFY(dialog && dialog->isVisible());
        QVERIFY(dialog->findChild<QLabel *>(u"hint"_s)->text().contains(u"分享搜索网站"_s));

        auto *shareSite = dialog->findChild<QLineEdit *>(u"share-site"_s);
        QPushButton *ok = dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
        shareSite->selectAll();
        QTest::keyClicks(shareSite, u"ftp://x.test/"_s);
        QVERIFY(!ok->isEnabled());
        shareSite->selectAll();
        QTest::keyClicks(shareSite, site.endpoints().shareSite);
        QVERIFY(ok->isEnabled());
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!dialog->isVisible());

        f.child<QPushButton>("Command1")->click();
        QCOMPARE(f.form.resultList().rowCount(), 3);
    }

    RecordedForm g(endpoints, QTime(9, 5, 3), {}, settings);
    g.form.start();
    QVERIFY(g.checked());
    QVERIFY(!g.form.findChild<SettingsDialog *>());
    g.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&g.form));
    QTest::keyClick(&g.form, Qt::Key_Comma, Qt::ControlModifier);
    auto *dialog = g.form.findChild<SettingsDialog *>();
    QVERIFY(dialog);
    QCOMPARE(dialog->findChild<QLineEdit *>(u"share-site"_s)->text(), site.endpoints().shareSite);
    QVERIFY(!dialog->findChild<QLabel *>(u"hint"_s));
}

QTEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
