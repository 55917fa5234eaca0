#include "crawl/retryafter.h"

#include "crawl/secondsvalue.h"

#include <algorithm>
#include <array>

namespace Crawl {

namespace {

using Names = std::array<QByteArrayView, 7>;
constexpr Names kDays{"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
constexpr Names kLongDays{"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
constexpr std::array<QByteArrayView, 12> kMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Reads a date piece by piece from the front; the first piece that is not there spoils the
// whole, and later reads then give zeros.
class DateReader
{
public:
    explicit DateReader(QByteArrayView text) : m_rest(text) {}

    bool accept(QByteArrayView piece)
    {
        if (!m_ok || !m_rest.startsWith(piece))
            return false;
        m_rest = m_rest.sliced(piece.size());
        return true;
    }
    void expect(QByteArrayView piece) { m_ok = accept(piece); }

    // Exactly count digits.
    int number(qsizetype count)
    {
        int value = 0;
        for (qsizetype i = 0; m_ok && i < count; ++i) {
            m_ok = i < m_rest.size() && m_rest[i] >= '0' && m_rest[i] <= '9';
            value = value * 10 + (m_ok ? m_rest[i] - '0' : 0);
        }
        if (m_ok)
            m_rest = m_rest.sliced(count);
        return m_ok ? value : 0;
    }

    // The 0-based index of the name the text goes on with, -1 if none (with required, a spoil).
    template<std::size_t N>
    int name(const std::array<QByteArrayView, N> &names, bool required = true)
    {
        for (std::size_t i = 0; i < N; ++i) {
            if (accept(names[i]))
                return int(i);
        }
        m_ok = m_ok && !required;
        return -1;
    }

    QTime time()
    {
        const int hour = number(2);
        expect(":");
        const int minute = number(2);
        expect(":");
        return QTime(hour, minute, std::min(number(2), 59)); // a leap second's 60 counts as 59
    }

    bool done() const { return m_ok && m_rest.isEmpty(); }

private:
    QByteArrayView m_rest;
    bool m_ok = true;
};

// A two-digit year is the one with those digits that is not more than 50 years ahead.
int fullYear(int twoDigits, int thisYear)
{
    const int year = thisYear - thisYear % 100 + twoDigits;
    return year > thisYear + 50 ? year - 100 : year;
}

std::optional<QDateTime> httpDate(QByteArrayView text, int thisYear)
{
    DateReader in(text);
    int year = 0;
    int month = 0;
    int day = 0;
    QTime time;
    if (in.name(kLongDays, false) >= 0) { // Sunday, 06-Nov-94 08:49:37 GMT
        in.expect(", ");
        day = in.number(2);
        in.expect("-");
        month = in.name(kMonths) + 1;
        in.expect("-");
        year = fullYear(in.number(2), thisYear);
        in.expect(" ");
        time = in.time();
        in.expect(" GMT");
    } else if (in.name(kDays); in.accept(", ")) { // Sun, 06 Nov 1994 08:49:37 GMT
        day = in.number(2);
        in.expect(" ");
        month = in.name(kMonths) + 1;
        in.expect(" ");
        year = in.number(4);
        in.expect(" ");
        time = in.time();
        in.expect(" GMT");
    } else { // Sun Nov  6 08:49:37 1994
        in.expect(" ");
        month = in.name(kMonths) + 1;
        in.expect(" ");
        day = in.accept(" ") ? in.number(1) : in.number(2);
        in.expect(" ");
        time = in.time();
        in.expect(" ");
        year = in.number(4);
    }
    const QDate date(year, month, day);
    if (!in.done() || !date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time, Qt::UTC);
}

} // namespace

std::optional<std::chrono::milliseconds> retryAfterWait(QByteArrayView value, const QDateTime &now)
{
    value = value.trimmed();
    if (!value.isEmpty() && value.front() >= '0' && value.front() <= '9')
        return secondsValue(value, false);
    const std::optional<QDateTime> date = httpDate(value, now.toUTC().date().year());
    if (!date)
        return std::nullopt;
    constexpr std::chrono::milliseconds kCap = kSecondsCap;
    return std::chrono::milliseconds(std::clamp<qint64>(now.msecsTo(*date), 0, kCap.count()));
}

} // namespace Crawl
