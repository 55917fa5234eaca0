#include "net/networkaccess.h"
#include "scriptedsite.h"
#include "support/files.h"
#include "support/recordedform.h"
#include "support/unprivilegedfileaccess.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kBlock = "\r\ns0k/1\r\ns0k/2\r\ns0k/3\r\n";

} // namespace

class TestExportCommand : public QObject
{
    Q_OBJECT

private slots:
    void exportAppends_data();
    void exportAppends();
};

void TestExportCommand::exportAppends_data()
{
    QTest::addColumn<QStringList>("answers"); // names the dialogs answer, empty to cancel
    QTest::addColumn<int>("hidden");          // row hidden before the export, or -1
    QTest::addColumn<QByteArray>("before");   // content of "a.txt" before, null when missing
    QTest::addColumn<QString>("readOnly");    // made read-only before the export
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("after"); // null when the file must not exist
    QTest::addColumn<bool>("fails");
    const QByteArray none;
    QTest::newRow("new file") << QStringList{u"a.txt"_s} << -1 << none << QString() << u"a.txt"_s << kBlock << false;
    QTest::newRow("twice") << QStringList{u"a.txt"_s, u"a.txt"_s} << -1 << none << QString() << u"a.txt"_s
                           << kBlock + kBlock << false;
    QTest::newRow("existing file") << QStringList{u"a.txt"_s} << -1 << QByteArray("old") << QString() << u"a.txt"_s
                                   << "old" + kBlock << false;
    QTest::newRow("no extension") << QStringList{u"codes"_s} << -1 << none << QString() << u"codes"_s << kBlock << false;
    QTest::newRow("hidden row") << QStringList{u"a.txt"_s} << 1 << none << QString() << u"a.txt"_s
                                << QByteArray("\r\ns0k/1\r\ns0k/3\r\n") << false;
    QTest::newRow("cancel") << QStringList{QString()} << -1 << none << QString() << u"a.txt"_s << none << false;
    QTest::newRow("read-only directory") << QStringList{u"ro/a.txt"_s} << -1 << none << u"ro"_s << u"ro/a.txt"_s << none
                                         << true;
    QTest::newRow("read-only file") << QStringList{u"a.txt"_s} << -1 << QByteArray("old") << u"a.txt"_s << u"a.txt"_s
                                    << QByteArray("old") << true;
}

void TestExportCommand::exportAppends()
{
    QFETCH(QStringList, answers);
    QFETCH(int, hidden);
    QFETCH(QByteArray, before);
    QFETCH(QString, readOnly);
    QFETCH(QString, file);
    QFETCH(QByteArray, after);
    QFETCH(bool, fails);
    QTemporaryDir dir;
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                                                  | QFile::ExeOther));
    QVERIFY(QDir(dir.path()).mkdir(u"ro"_s));
    if (!before.isNull())
        QVERIFY(TestFiles::writeAll(dir.filePath(u"a.txt"_s), before));
    if (!readOnly.isEmpty())
        QVERIFY(QFile::setPermissions(dir.filePath(readOnly), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    ScriptedSite site;
    site.addListing(0, 3);
    QVERIFY(site.start());
    RecordedForm f(site.endpoints());
    f.form.show();
    QTest::mouseClick(f.child("Command1"), Qt::LeftButton);
    if (hidden >= 0) {
        f.selectRow(hidden);
        QTest::keyClick(f.child("ListView1"), Qt::Key_F6);
    }
    for (const QString &answer : answers)
        f.saveAnswers.append(answer.isEmpty() ? answer : dir.filePath(answer));

    for (int i = 0; i < answers.size(); ++i) {
        std::optional<UnprivilegedFileAccess> asUser;
        if (!readOnly.isEmpty())
            asUser.emplace();
        QTest::mouseClick(f.child("Command4"), Qt::LeftButton);
    }

    QCOMPARE(QFile::exists(dir.filePath(file)), !after.isNull());
    QCOMPARE(TestFiles::readAll(dir.filePath(file)), after);
    QStringList files; // nothing beside the exported file, so no suffix was added
    if (!before.isNull())
        files.append(u"a.txt"_s);
    if (!after.isNull() && !files.contains(file))
        files.append(file);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), files);
    QCOMPARE(f.saveDialogs.size(), answers.size());
    for (int i = 0; i < answers.size(); ++i) {
        QCOMPARE(f.saveDialogs.at(i).title, u"请选择要导出的路径"_s);
        QCOMPARE(f.saveDialogs.at(i).filter, u"文本文件 (*.txt)"_s);
        QCOMPARE(f.saveDialogs.at(i).proposedFile, i == 0 ? QString() : dir.filePath(answers.at(i - 1)));
    }
    if (fails) {
        QCOMPARE(f.messages.size(), 1);
        QCOMPARE(f.messages.at(0).icon, Gui::MessageIcon::Warning);
        QVERIFY2(f.messages.at(0).text.contains(QDir::toNativeSeparators(dir.filePath(file))), qPrintable(f.messages.at(0).text));
    } else {
        QCOMPARE(f.messages.size(), after.isNull() ? 0 : answers.size());
        for (const RecordedForm::Message &message : f.messages) {
            QCOMPARE(message.text, u"成功导出邮箱数据"_s);
            QCOMPARE(message.icon, Gui::MessageIcon::Information);
        }
    }
}

QTEST_MAIN(TestExportCommand)
#include "tst_exportcommand.moc"
