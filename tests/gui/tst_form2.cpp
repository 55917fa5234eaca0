#include "demo-site/forum.h"
#include "demo-site/server.h"
#include "gui/form2.h"
#include "gui/statusbar.h"
#include "net/networkaccess.h"
#include "support/closedport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using Gui::Form2;
using Gui::LoginInput;

namespace {

const QString kPrompt = u"请输入您的帐号或UID"_s;

// A login window on a given forum whose browser and clock are recorded.
struct LoginWindow
{
    explicit LoginWindow(const QString &forum)
        : form(Gui::Form2Setup{forum, [] { return QTime(9, 5, 3); }, [this](const QUrl &url) { opened.append(url); }})
    {
    }

    template<typename T = QWidget>
    T *child(const char *name)
    {
        return form.findChild<T *>(QLatin1String(name));
    }
    QLineEdit *edit(const char *name) { return child<QLineEdit>(name); }
    QImage avatar() { return child<QLabel>("Image1")->pixmap().toImage(); }

    // The avatar stands in the middle of its frame.
    bool avatarCentred()
    {
        const QRect image = child("Image1")->geometry(), frame = child("Picture1")->rect();
        return qAbs(image.center().x() - frame.center().x()) <= 1 && qAbs(image.center().y() - frame.center().y()) <= 1;
    }

    void leaveAccount(const QString &text)
    {
        edit("Text1")->setText(text);
        QFocusEvent out(QEvent::FocusOut);
        QCoreApplication::sendEvent(edit("Text1"), &out);
    }

    QList<QUrl> opened;
    Form2 form;
};

QImage defaultAvatar()
{
    return QImage(u":/gui/defaultavatar.png"_s);
}

// Records the order in which watched widgets change their enabled state.
class EnabledOrder : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::EnabledChange)
            names.append(watched->objectName());
        return false;
    }
    QStringList names;
};

} // namespace

class TestForm2 : public QObject
{
    Q_OBJECT

    DemoSite::Server m_site;
    QString m_forum;

private slots:
    void initTestCase();
    void cleanupTestCase() { Net::networkManager().clearConnectionCache(); }
    void atLoad();
    void questionSelection();
    void clickOnThePromptEmptiesIt();
    void checks_data();
    void checks();
    void registration();
    void avatarOfANumericAccount_data();
    void avatarOfANumericAccount();
    void aUserNameKeepsTheShownAvatar();
};

void TestForm2::initTestCase()
{
    Net::setTransferTimeout(std::chrono::seconds(10));
    QVERIFY(m_site.start());
    m_forum = QString::fromStdString(m_site.baseUrl()) + u"forum/"_s;
}

void TestForm2::atLoad()
{
    LoginWindow w(m_forum);
    QCOMPARE(w.form.size(), QSize(401, 279));
    QCOMPARE(w.edit("Text1")->text(), kPrompt);
    QCOMPARE(w.edit("Text2")->text(), QString());
    QCOMPARE(w.edit("Text2")->echoMode(), QLineEdit::Password);
    QCOMPARE(w.edit("Text3")->echoMode(), QLineEdit::Password);
    const auto *questions = w.child<QComboBox>("Combo1");
    QCOMPARE(questions->count(), 8);
    QCOMPARE(questions->currentIndex(), 0);
    QCOMPARE(questions->currentText(), u"安全提问"_s);
    QVERIFY(w.child("Label4")->isHidden() && w.child("Text3")->isHidden());
    QVERIFY(!w.child<QCheckBox>("Check1")->isChecked());
    QCOMPARE(w.avatar(), defaultAvatar());
    QVERIFY(w.avatarCentred());

    auto *statusBar = w.child<Gui::StatusBar>("S1");
    QCOMPARE(statusBar->panelCount(), 3);
    QCOMPARE(statusBar->panelText(3), u"9:5:3"_s);
    statusBar->setPanelText(2, u"请输入密码.."_s);
    for (int panel : {1, 2}) {
        const auto *label = statusBar->findChild<QLabel *>(u"panel"_s + QString::number(panel));
        QCOMPARE(label->toolTip(), label->text());
    }
}

void TestForm2::questionSelection()
{
    LoginWindow w(m_forum);
    auto *questions = w.child<QComboBox>("Combo1");
    questions->setCurrentIndex(3);
    QVERIFY(w.child("Label4")->isVisibleTo(&w.form) && w.child("Text3")->isVisibleTo(&w.form));
    w.edit("Text3")->setText(u"上海"_s);
    questions->setCurrentIndex(7);
    QCOMPARE(w.edit("Text3")->text(), u"上海"_s);
    questions->setCurrentIndex(0);
    QVERIFY(w.child("Label4")->isHidden() && w.child("Text3")->isHidden());
    QCOMPARE(w.edit("Text3")->text(), QString());
    questions->setCurrentIndex(5);
    QVERIFY(w.child("Text3")->isVisibleTo(&w.form));
    QCOMPARE(w.edit("Text3")->text(), QString());
}

void TestForm2::clickOnThePromptEmptiesIt()
{
    LoginWindow w(m_forum);
    QTest::mouseClick(w.edit("Text1"), Qt::LeftButton);
    QCOMPARE(w.edit("Text1")->text(), QString());
    w.edit("Text1")->setText(u"bob"_s);
    QTest::mouseClick(w.edit("Text1"), Qt::LeftButton);
    QCOMPARE(w.edit("Text1")->text(), u"bob"_s);
}

void TestForm2::checks_data()
{
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("question");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("passes");
    const QString noAccount = u"请输入用户帐号，用户名或UID.."_s, noPassword = u"请输入密码.."_s,
                  noAnswer = u"请输入安全提问答案.."_s, checking = u"正在检测您的联网情况..."_s;
    QTest::newRow("all empty: only the first") << QString() << QString() << 0 << QString() << noAccount << false;
    QTest::newRow("no password") << u"alice"_s << QString() << 3 << QString() << noPassword << false;
    QTest::newRow("question without answer") << u"alice"_s << u"pw"_s << 5 << QString() << noAnswer << false;
    QTest::newRow("no question, no answer") << u"alice"_s << u"pw"_s << 0 << QString() << checking << true;
    QTest::newRow("untouched prompt") << kPrompt << u"pw"_s << 0 << QString() << checking << true;
    QTest::newRow("question and answer, as typed") << u" 42 "_s << u"p&w=1"_s << 7 << u"1234"_s << checking << true;
}

void TestForm2::checks()
{
    QFETCH(QString, account);
    QFETCH(QString, password);
    QFETCH(int, question);
    QFETCH(QString, answer);
    QFETCH(QString, status);
    QFETCH(bool, passes);
    LoginWindow w(m_forum);
    w.edit("Text1")->setText(account);
    w.edit("Text2")->setText(password);
    w.child<QComboBox>("Combo1")->setCurrentIndex(question);
    w.edit("Text3")->setText(answer);
    w.child<QCheckBox>("Check1")->setChecked(true);
    EnabledOrder order;
    for (const char *name : {"Text2", "Text1", "Text3", "Combo1", "Command1"})
        w.child(name)->installEventFilter(&order);
    QSignalSpy handedOver(&w.form, &Form2::loginRequested);

    QTest::mouseClick(w.child("Command1"), Qt::LeftButton);

    QCOMPARE(w.child<Gui::StatusBar>("S1")->panelText(2), status);
    QCOMPARE(handedOver.size(), passes ? 1 : 0);
    const QStringList disabledInOrder{u"Command1"_s, u"Combo1"_s, u"Text3"_s, u"Text1"_s, u"Text2"_s};
    QCOMPARE(order.names, passes ? disabledInOrder : QStringList());
    if (passes) {
        const auto input = handedOver.at(0).at(0).value<LoginInput>();
        QCOMPARE(input.account, account);
        QCOMPARE(input.password, password);
        QCOMPARE(input.questionId, question);
        QCOMPARE(input.answer, answer);
        QVERIFY(input.remember);
    }
}

void TestForm2::registration()
{
    LoginWindow w(m_forum);
    QTest::mouseClick(w.child("Command2"), Qt::LeftButton);
    QCOMPARE(w.opened, QList<QUrl>{QUrl(m_forum + u"member.php?mod=register"_s)});
    QVERIFY(w.child("Command1")->isEnabled());
}

void TestForm2::avatarOfANumericAccount_data()
{
    QTest::addColumn<QString>("account");
    QTest::addColumn<bool>("reachable");
    QTest::addColumn<int>("storedUid"); // 0: the default avatar
    QTest::newRow("stored avatar") << u"42"_s << true << 42;
    QTest::newRow("stored, with leading zeros") << u"0007"_s << true << 7;
    QTest::newRow("text 404 page") << u"5"_s << true << 0;
    QTest::newRow("refused connection") << u"42"_s << false << 0;
    QTest::newRow("six digits") << u"123456"_s << true << 0;
}

void TestForm2::avatarOfANumericAccount()
{
    QFETCH(QString, account);
    QFETCH(bool, reachable);
    QFETCH(int, storedUid);
    LoginWindow w(reachable ? m_forum : u"http://127.0.0.1:%1/"_s.arg(closedPort()));
    // Another picture first, so that the default avatar has to come back.
    w.leaveAccount(u"1"_s);
    QSignalSpy shown(&w.form, &Form2::avatarShown);
    QVERIFY(shown.wait(10000));
    QVERIFY(w.avatarCentred());

    w.leaveAccount(account);
    QVERIFY(shown.size() == 2 || shown.wait(10000));
    const std::string stored = DemoSite::Forum::avatarPicture(storedUid);
    const QImage expected = storedUid ? QImage::fromData(QByteArray::fromStdString(stored)) : defaultAvatar();
    QCOMPARE(w.avatar().convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));
    QVERIFY(w.avatarCentred());
}

void TestForm2::aUserNameKeepsTheShownAvatar()
{
    LoginWindow w(m_forum);
    QSignalSpy shown(&w.form, &Form2::avatarShown);
    w.leaveAccount(u"42"_s);
    QVERIFY(shown.wait(10000));
    const QImage picture = w.avatar();
    QVERIFY(picture != defaultAvatar());
    w.leaveAccount(u"alice"_s);
    QVERIFY(!shown.wait(300));
    QCOMPARE(w.avatar(), picture);
}

QTEST_MAIN(TestForm2)
#include "tst_form2.moc"
