#include "crypto/rndxor/prng.h"

#include <QTest>

#include <cmath>
#include <random>
#include <vector>

using Crypto::Prng;

namespace {

// The seeding step exactly as prng.h states it, one call after another.
void absorbPlainly(Prng &prng, const std::vector<char16_t> &units)
{
    for (const char16_t unit : units) {
        const double r = prng.draw();
        const double m = prng.draw(-r * static_cast<std::int16_t>(unit));
        prng.reseed(std::nearbyint(m));
    }
}

// Texts of every kind of unit: ASCII, CJK, units of 0x8000 and above (negative as c), U+0000
// and surrogates.
std::vector<char16_t> randomUnits(std::mt19937 &random, std::size_t length, char16_t low, char16_t high)
{
    std::uniform_int_distribution<int> pick(low, high);
    std::vector<char16_t> units(length);
    for (char16_t &unit : units)
        unit = static_cast<char16_t>(random() % 16 == 0 ? 0 : pick(random));
    return units;
}

} // namespace

class TestPrng : public QObject
{
    Q_OBJECT

private slots:
    // absorb and xorUnits are fused rewrites of the plain loops: from any state, over any text,
    // they must leave the generator exactly where the plain calls leave it.
    void fusedLoopsMatchThePlainCalls_data()
    {
        QTest::addColumn<int>("seed");
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::newRow("ascii") << 1 << 0x20 << 0x7E;
        QTest::newRow("cjk") << 2 << 0x4E00 << 0x9FFF;
        QTest::newRow("high units") << 3 << 0x8000 << 0xFFFF;
        QTest::newRow("every unit") << 4 << 0x0000 << 0xFFFF;
        QTest::newRow("surrogates") << 5 << 0xD800 << 0xDFFF;
    }
    void fusedLoopsMatchThePlainCalls()
    {
        QFETCH(int, seed);
        QFETCH(int, low);
        QFETCH(int, high);
        std::mt19937 random(static_cast<unsigned>(seed));
        for (int round = 0; round < 50; ++round) {
            const auto units = randomUnits(random, random() % 300, char16_t(low), char16_t(high));
            Prng fused, plain;
            const double start = -static_cast<double>(random() % 100000 + 1);
            fused.draw(start);
            plain.draw(start);

            fused.absorb(units);
            absorbPlainly(plain, units);
            QCOMPARE(fused.draw(), plain.draw());

            std::vector<char16_t> xored(units.size());
            fused.xorUnits(units, xored.data());
            for (std::size_t i = 0; i < units.size(); ++i)
                QCOMPARE(xored[i], char16_t(units[i] ^ static_cast<int>(128 * plain.draw())));
            QCOMPARE(fused.draw(), plain.draw());
        }
    }
};

QTEST_APPLESS_MAIN(TestPrng)
#include "tst_prng.moc"
