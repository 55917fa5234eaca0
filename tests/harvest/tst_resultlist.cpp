#include "harvest/resultlist.h"
#include "harvest/tabularoutput.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

using Harvest::ResourceEntry;
using Harvest::ResultList;

namespace {

QList<ResourceEntry> entries(int count)
{
    QList<ResourceEntry> list;
    for (int i = 1; i <= count; ++i) {
        const QString n = QString::number(i);
        list.append({n, u"标题"_qs + n, n + u"个"_qs, {}, u"id"_qs + n, u"c"_qs + n});
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
    const QStringList headers{u"编号"_qs, u"名称"_qs, u"文件数"_qs, u"资源码"_qs, u"加密码"_qs, u"提取码"_qs};
    for (int column = 0; column < 6; ++column) {
        QCOMPARE(list.headerData(column, Qt::Horizontal).toString(), headers.at(column));
        const auto alignment = list.data(list.index(0, column), Qt::TextAlignmentRole).value<Qt::Alignment>();
        QCOMPARE(alignment & Qt::AlignHorizontal_Mask, column == 5 ? Qt::AlignHCenter : Qt::AlignLeft);
        QVERIFY(!(list.flags(list.index(0, column)) & Qt::ItemIsEditable));
    }
    QCOMPARE(list.data(list.index(0, 4)).toString(), u"id1"_qs);
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
    QVERIFY(list.setShareCode(third, u"code3"_qs));
    QCOMPARE(list.entry(0).entryId, u"id3"_qs);
    QCOMPARE(list.entry(0).shareCode, u"code3"_qs);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.at(0).at(0).toModelIndex(), list.index(0, Harvest::ShareCodeColumn));

    QVERIFY(!list.setShareCode(first, u"lost"_qs));
    for (const ResourceEntry &entry : list.entries())
        QVERIFY(entry.shareCode != u"lost"_qs);
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
    QVERIFY(!list.setShareCode(old, u"x"_qs));
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
    ResourceEntry entry{u"1"_qs, u"a\tb\r\nc\nd\re"_qs, {}, u"s"_qs, u"id"_qs, u"x"_qs};
    QCOMPARE(Harvest::toTsv({entry, entry}), u"1\ta b c d e\t\ts\tid\tx\n1\ta b c d e\t\ts\tid\tx\n"_qs);
    QCOMPARE(Harvest::toTsv({}), QString());
}

void TestResultList::jsonHasExactlyTheSixKeys()
{
    ResourceEntry odd{u"1"_qs, u"引号\"反斜杠\\换行\n\u0001"_qs, u"2"_qs, u"s/c"_qs, u"id'>"_qs, u""_qs};
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(Harvest::toJson({odd, entries(1).at(0)}).toUtf8(), &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QJsonArray rows = document.array();
    QCOMPARE(rows.size(), 2);
    const QJsonObject first = rows.at(0).toObject();
    QCOMPARE(first.keys(), (QStringList{u"entryId"_qs, u"extractionCode"_qs, u"fileCount"_qs, u"number"_qs,
                                        u"shareCode"_qs, u"title"_qs}));
    QCOMPARE(first.value(u"title"_qs).toString(), odd.title);
    QCOMPARE(first.value(u"entryId"_qs).toString(), odd.entryId);
    QCOMPARE(first.value(u"extractionCode"_qs), QJsonValue(u""_qs));
    QCOMPARE(QJsonDocument::fromJson(Harvest::toJson({}).toUtf8()).array().size(), 0);
    QVERIFY(QJsonDocument::fromJson(Harvest::toJson({}).toUtf8()).isArray());
}

QTEST_APPLESS_MAIN(TestResultList)
#include "tst_resultlist.moc"
