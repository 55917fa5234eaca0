#include "harvest/resultlist.h"
#include "harvest/tabularoutput.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

using Harvest::ResourceEntry;
using Harvest::ResultList;

namespace {

QList<ResourceEntry> entries(int count)
{
    QList<ResourceEntry> list;
    for (int i = 1; i <= count; ++i) {
        const QString n = QString::number(i);
        list.append({n, u"标题"_s + n, n + u"个"_s, {}, u"id"_s + n, u"c"_s + n});
    }
    return list;
}

} // namespace

class TestResultList : public QObject
{
    Q_OBJECT

private slots:
    void columnsAndHeaders();
    void shareCodeFollowsItsRow();
    void idsSurviveClearAndAreNotReused();
    void removeRowsOutsideRefused();
    void tsvKeepsOneLinePerRow();
    void jsonHasExactlyTheSixKeys();
};

void TestResultList::columnsAndHeaders()
{
    ResultList list;
    list.append(entries(1));
    QCOMPARE(list.columnCount(), 6);
    const QStringList headers{u"编号"_s, u"名称"_s, u"文件数"_s, u"资源码"_s, u"加密码"_s, u"提取码"_s};
    for (int column = 0; column < 6; ++column) {
        QCOMPARE(list.headerData(column, Qt::Horizontal).toString(), headers.at(column));
        const auto alignment = list.data(list.index(0, column), Qt::TextAlignmentRole).value<Qt::Alignment>();
        QCOMPARE(alignment & Qt::AlignHorizontal_Mask, column == 5 ? Qt::AlignHCenter : Qt::AlignLeft);
        QVERIFY(!(list.flags(list.index(0, column)) & Qt::ItemIsEditable));
    }
    QCOMPARE(list.data(list.index(0, 4)).toString(), u"id1"_s);
}

void TestResultList::shareCodeFollowsItsRow()
{
    ResultList list;
    list.append(entries(5));
    const Harvest::RowId third = list.rowId(2);
    const Harvest::RowId first = list.rowId(0);
    QVERIFY(list.removeRows(0, 2));
    QCOMPARE(list.rowOf(first), -1);
    QCOMPARE(list.rowOf(third), 0);

    QSignalSpy changed(&list, &ResultList::dataChanged);
    QVERIFY(list.setShareCode(third, u"code3"_s));
    QCOMPARE(list.entry(0).entryId, u"id3"_s);
    QCOMPARE(list.entry(0).shareCode, u"code3"_s);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.at(0).at(0).toModelIndex(), list.index(0, Harvest::ShareCodeColumn));

    QVERIFY(!list.setShareCode(first, u"lost"_s));
    for (const ResourceEntry &entry : list.entries())
        QVERIFY(entry.shareCode != u"lost"_s);
}

void TestResultList::idsSurviveClearAndAreNotReused()
{
    ResultList list;
    list.append(entries(3));
    const Harvest::RowId old = list.rowId(0);
    list.clear();
    QCOMPARE(list.rowCount(), 0);
    list.append(entries(3));
    QCOMPARE(list.rowOf(old), -1);
    QVERIFY(!list.setShareCode(old, u"x"_s));
    QCOMPARE(list.entry(0).shareCode, QString());
}

void TestResultList::removeRowsOutsideRefused()
{
    ResultList list;
    list.append(entries(3));
    QVERIFY(!list.removeRows(2, 2));
    QVERIFY(!list.removeRows(-1, 1));
    QVERIFY(!list.removeRows(0, 0));
    QCOMPARE(list.rowCount(), 3);
    QVERIFY(list.removeRows(1, 2));
    QCOMPARE(list.entries(), entries(1));
}

void TestResultList::tsvKeepsOneLinePerRow()
{
    ResourceEntry entry{u"1"_s, u"a\tb\r\nc\nd\re"_s, {}, u"s"_s, u"id"_s, u"x"_s};
    QCOMPARE(Harvest::toTsv({entry, entry}), u"1\ta b c d e\t\ts\tid\tx\n1\ta b c d e\t\ts\tid\tx\n"_s);
    QCOMPARE(Harvest::toTsv({}), QString());
}

void TestResultList::jsonHasExactlyTheSixKeys()
{
    ResourceEntry odd{u"1"_s, u"引号\"反斜杠\\换行\n\u0001"_s, u"2"_s, u"s/c"_s, u"id'>"_s, u""_s};
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(Harvest::toJson({odd, entries(1).at(0)}).toUtf8(), &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QJsonArray rows = document.array();
    QCOMPARE(rows.size(), 2);
    const QJsonObject first = rows.at(0).toObject();
    QCOMPARE(first.keys(), (QStringList{u"entryId"_s, u"extractionCode"_s, u"fileCount"_s, u"number"_s,
                                        u"shareCode"_s, u"title"_s}));
    QCOMPARE(first.value(u"title"_s).toString(), odd.title);
    QCOMPARE(first.value(u"entryId"_s).toString(), odd.entryId);
    QCOMPARE(first.value(u"extractionCode"_s), QJsonValue(u""_s));
    QCOMPARE(QJsonDocument::fromJson(Harvest::toJson({}).toUtf8()).array().size(), 0);
    QVERIFY(QJsonDocument::fromJson(Harvest::toJson({}).toUtf8()).isArray());
}

QTEST_APPLESS_MAIN(TestResultList)
#include "tst_resultlist.moc"
