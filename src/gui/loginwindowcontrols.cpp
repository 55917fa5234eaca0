#include "gui/loginwindowcontrols.h"

#include "gui/placement.h"
#include "gui/statusbar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace Gui {

namespace {

constexpr int kLabelLeft = 160;
constexpr int kFieldLeft = 232;
constexpr int kFieldWidth = 156;
constexpr int kRowHeight = 26;
constexpr int kRowPitch = 34;

QLabel *rowLabel(QWidget &form, const char *name, const QString &text, int row)
{
    const QRect geometry(kLabelLeft, 14 + row * kRowPitch, kFieldLeft - kLabelLeft, kRowHeight);
    return place(new QLabel(text, &form), name, geometry);
}

template<typename Field>
Field *rowField(Field *field, const char *name, int row)
{
    return place(field, name, {kFieldLeft, 14 + row * kRowPitch, kFieldWidth, kRowHeight});
}

// A password box: every character is drawn as a filled circle.
QLineEdit *maskedEdit(QWidget &form, const char *name, int row)
{
    auto *edit = rowField(new QLineEdit(&form), name, row);
    edit->setEchoMode(QLineEdit::Password);
    return edit;
}

} // namespace

const QString &accountPrompt()
{
    static const QString prompt = u"请输入您的帐号或UID"_s;
    return prompt;
}

QList<QWidget *> LoginWindowControls::inputControls() const
{
    return {loginButton, questionBox, answerEdit, accountEdit, passwordEdit};
}

LoginWindowControls createLoginWindowControls(QWidget &form)
{
    LoginWindowControls c{};
    form.setFont(cjkFont(9));
    c.avatarFrame = place(new QFrame(&form), "Picture1", {12, 14, 136, 136});
    c.avatarFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    c.avatarImage = place(new QLabel(c.avatarFrame), "Image1", {8, 8, 120, 120});

    rowLabel(form, "Label1", u"用户帐号："_s, 0);
    c.accountEdit = rowField(new QLineEdit(accountPrompt(), &form), "Text1", 0);
    rowLabel(form, "Label2", u"登录密码："_s, 1);
    c.passwordEdit = maskedEdit(form, "Text2", 1);
    rowLabel(form, "Label3", u"安全提问："_s, 2);
    c.questionBox = rowField(new QComboBox(&form), "Combo1", 2);
    c.answerLabel = rowLabel(form, "Label4", u"验证回答："_s, 3);
    c.answerEdit = maskedEdit(form, "Text3", 3);
    c.answerLabel->hide();
    c.answerEdit->hide();

    c.rememberBox = place(new QCheckBox(u"保存账号信息"_s, &form), "Check1", {kLabelLeft, 154, 228, 24});
    c.loginButton = place(new QPushButton(u"登录"_s, &form), "Command1", {kLabelLeft, 188, 108, 36});
    c.registerButton = place(new QPushButton(u"注册"_s, &form), "Command2", {280, 188, 108, 36});

    c.statusBar = place(new StatusBar({80, 230, 91}, &form), "S1", {0, 252, 401, 27});
    c.clockTimer = new QTimer(&form);
    c.clockTimer->setObjectName(u"Timer1"_s);
    c.clockTimer->setInterval(1000);

    QWidget::setTabOrder(c.accountEdit, c.passwordEdit);
    QWidget::setTabOrder(c.passwordEdit, c.questionBox);
    QWidget::setTabOrder(c.questionBox, c.answerEdit);
    QWidget::setTabOrder(c.answerEdit, c.rememberBox);
    QWidget::setTabOrder(c.rememberBox, c.loginButton);
    QWidget::setTabOrder(c.loginButton, c.registerButton);
    return c;
}

} // namespace Gui
