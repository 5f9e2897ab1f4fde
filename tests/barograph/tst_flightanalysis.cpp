// The flight analysis against flights whose truth is known: a generator flies synthetic
// flights as the physics goes (ground drifting before and after, glides sinking 0.7 to
// 2 m/s with short bumps of lift, climbs of 0.5 to 4 m/s surging as the pilot circles,
// with short dips of up to 15 m where the pilot left the core), records them at 1, 2 and 4 s with
// 0.3 m of sensor noise in 0.1 m steps, and the analysis is scored on what it finds.
#include "barograph/core/flightanalysis.h"
#include "barograph/core/barographfile.h"
#include "barograph/core/logstatistics.h"
#include "logbook/core/filewriter.h"
#include "logbook/core/logbook.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <QtTest/QTest>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace {

struct TrueFlight {
    std::vector<double> altitude; ///< noiseless, one a second
    double takeoff = 0;
    double landing = 0;
    std::vector<std::pair<double, double>> climbs;
};

class FlightGenerator {
public:
    explicit FlightGenerator(unsigned seed) : m_rng(seed) {}

    TrueFlight fly()
    {
        TrueFlight f;
        const double launch = uniform(500, 1500);
        const double field = launch - uniform(250, 800);
        ground(f, launch, uniform(60, 600));
        f.takeoff = double(f.altitude.size() - 1);
        double floor = field + 150;
        glide(f, uniform(40, 200), floor);
        for (int climbs = int(uniform(1, 7)); climbs > 0; --climbs) {
            climb(f);
            glide(f, uniform(90, 300), floor);
        }
        while (f.altitude.back() > field + 0.5)
            glide(f, 600, field);
        f.altitude.back() = field;
        f.landing = double(f.altitude.size() - 1);
        ground(f, field, uniform(60, 600));
        return f;
    }

    /// The recording at `interval` seconds: noise of 0.3 m, 0.1 m steps.
    std::vector<float> record(const TrueFlight &f, int interval)
    {
        std::normal_distribution<double> noise(0.0, 0.3);
        std::vector<float> samples;
        for (size_t t = 0; t < f.altitude.size(); t += size_t(interval))
            samples.push_back(float(std::round((f.altitude[t] + noise(m_rng)) * 10) / 10));
        return samples;
    }

private:
    double uniform(double from, double to) { return std::uniform_real_distribution<double>(from, to)(m_rng); }

    void ground(TrueFlight &f, double level, double seconds)
    {
        const double drift = uniform(-2, 2) / seconds;
        for (int t = 0; t < int(seconds); ++t)
            f.altitude.push_back(level + drift * t);
    }

    /// Sinks for `seconds` with bumps of lift (5 to 15 s, less than 15 m), never below `floor`.
    void glide(TrueFlight &f, double seconds, double floor)
    {
        const double sink = uniform(0.7, 2.0);
        double untilBump = uniform(30, 120);
        for (int t = 0; t < int(seconds) && f.altitude.back() > floor; ++t) {
            if (--untilBump <= 0) {
                const int length = int(uniform(5, 16));
                const double gain = uniform(3, 14);
                for (int b = 0; b < length; ++b)
                    f.altitude.push_back(f.altitude.back() + gain / length);
                untilBump = uniform(30, 120);
                continue;
            }
            f.altitude.push_back(std::max(floor, f.altitude.back() - sink));
        }
    }

    /// A climb of one to fifteen minutes gaining 40 m or more: circling surges and dips.
    void climb(TrueFlight &f)
    {
        for (;;) {
            const double rate = uniform(0.5, 4.0);
            const int seconds = int(uniform(std::max(60.0, 60 / rate), 900));
            const double surge = uniform(0.3, 1.0) * rate, period = uniform(18, 30), phase = uniform(0, 6.3);
            std::vector<double> rates;
            double untilDip = uniform(60, 200);
            for (int t = 0; t < seconds; ++t) {
                if (--untilDip <= 0 && t > 30 && t < seconds - 45) {
                    // A dip costs at most 15 m: a longer fall is a glide, which ends the climb.
                    const double dip = -uniform(0.5, 1.5);
                    for (int d = int(uniform(5, std::min(16.0, 15 / -dip))); d > 0; --d, ++t)
                        rates.push_back(dip);
                    untilDip = uniform(90, 240);
                }
                rates.push_back(rate + surge * std::sin(2 * std::numbers::pi * t / period + phase));
            }
            double gain = 0;
            for (double r : rates)
                gain += r;
            if (gain < 40)
                continue;
            const double start = double(f.altitude.size() - 1);
            for (double r : rates)
                f.altitude.push_back(f.altitude.back() + r);
            f.climbs.push_back({start, double(f.altitude.size() - 1)});
            return;
        }
    }

    std::mt19937 m_rng;
};

double overlapShare(std::pair<double, double> a, const Climb &b)
{
    const double overlap = std::min(a.second, b.end) - std::max(a.first, b.start);
    const double both = std::max(a.second, b.end) - std::min(a.first, b.start);
    return overlap > 0 ? overlap / both : 0;
}

double percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(share * double(values.size())))];
}

} // namespace

class TestFlightAnalysis : public QObject {
    Q_OBJECT
private slots:
    void findsTheClimbsAndTheGroundOfSyntheticFlights()
    {
        constexpr int kFlights = 200;
        int trueClimbs = 0, foundClimbs = 0, matchedTrue = 0, matchedFound = 0, sameCount = 0;
        std::vector<double> edgeErrors, groundErrors;
        FlightGenerator generator(20261207);
        for (int flight = 0; flight < kFlights; ++flight) {
            const TrueFlight truth = generator.fly();
            std::vector<size_t> counts;
            for (const int interval : {1, 2, 4}) {
                const FlightAnalysis found = analyseFlight(generator.record(truth, interval), interval);
                counts.push_back(found.climbs.size());
                trueClimbs += int(truth.climbs.size());
                foundClimbs += int(found.climbs.size());
                std::vector<bool> taken(found.climbs.size());
                for (const auto &t : truth.climbs) {
                    for (size_t i = 0; i < found.climbs.size(); ++i) {
                        if (!taken[i] && overlapShare(t, found.climbs[i]) >= 0.5) {
                            taken[i] = true;
                            ++matchedTrue;
                            edgeErrors.push_back(std::abs(found.climbs[i].start - t.first));
                            edgeErrors.push_back(std::abs(found.climbs[i].end - t.second));
                            break;
                        }
                    }
                }
                matchedFound += int(std::count(taken.begin(), taken.end(), true));
                groundErrors.push_back(found.takeoff ? std::abs(*found.takeoff - truth.takeoff) : 1e9);
                groundErrors.push_back(found.landing ? std::abs(*found.landing - truth.landing) : 1e9);
            }
            sameCount += counts[0] == counts[1] && counts[1] == counts[2];
        }
        const struct {
            const char *what;
            double value;
            double limit;
            bool atLeast;
        } scores[] = {
            {"recall", double(matchedTrue) / trueClimbs, 0.95, true},
            {"precision", double(matchedFound) / std::max(1, foundClimbs), 0.95, true},
            {"climb edge error, median (s)", percentile(edgeErrors, 0.5), 15, false},
            {"climb edge error, 95th percentile (s)", percentile(edgeErrors, 0.95), 45, false},
            {"take-off and landing error, median (s)", percentile(groundErrors, 0.5), 15, false},
            {"take-off and landing error, 95th percentile (s)", percentile(groundErrors, 0.95), 45, false},
            {"same climbs at 1, 2 and 4 s", double(sameCount) / kFlights, 0.95, true},
        };
        for (const auto &s : scores) {
            qInfo("%s: %.3f (limit %.2f)", s.what, s.value, s.limit);
            QVERIFY2(s.atLeast ? s.value >= s.limit : s.value <= s.limit, s.what);
        }
    }

    void figuresOfAKnownFlight()
    {
        // Ground, a glide at 1 m/s, a steady climb of 2 m/s for 300 s, a glide, ground.
        std::vector<float> a(120, 1000.0f);
        for (int t = 0; t < 100; ++t)
            a.push_back(a.back() - 1);
        for (int t = 0; t < 300; ++t)
            a.push_back(a.back() + 2);
        for (int t = 0; t < 400; ++t)
            a.push_back(a.back() - 1.5f);
        a.insert(a.end(), 120, a.back());
        const FlightAnalysis f = analyseFlight(a, 1);
        QVERIFY(f.takeoff && f.landing);
        QVERIFY(std::abs(*f.takeoff - 119) <= 1 && std::abs(*f.landing - 919) <= 1);
        QCOMPARE(f.climbs.size(), size_t(1));
        const Climb &c = f.climbs[0];
        QVERIFY(std::abs(c.start - 219) <= 3 && std::abs(c.end - 519) <= 3);
        QVERIFY(std::abs(c.gain - 600) < 10 && std::abs(c.meanClimb - 2) < 0.05f);
        QCOMPARE(c.bestClimb30s, 2.0f);
        QCOMPARE(c.heightLost, 0.0f);
        QCOMPARE(f.bestClimb30s, 2.0f);
        QCOMPARE(f.maxSink30s, -1.5f);
        QVERIFY(std::abs(f.climbingShare - 300.0 / 800) < 0.01);
        double seconds = 0;
        for (const RateBin &b : f.histogram)
            seconds += b.seconds;
        QCOMPARE(seconds, f.flyingSeconds);
        QCOMPARE(f.histogram.front().from, -1.5f);
        QCOMPARE(f.histogram.back().to, 2.5f);
    }

    void statisticsReadEachBarographOnce()
    {
        // A flight with one climb of 600 m, under two names with the same content.
        std::vector<float> a(120, 1000.0f);
        for (int t = 0; t < 300; ++t)
            a.push_back(a.back() + 2);
        for (int t = 0; t < 700; ++t)
            a.push_back(a.back() - 1);
        a.insert(a.end(), 120, a.back());
        BarographFile file;
        file.interval = 1;
        file.altitudes = a;
        QTemporaryDir dir;
        const QByteArray image = buildBarographImage(file);
        QVERIFY(!writeFile(dir.filePath(QStringLiteral("A.V00")), image));
        QVERIFY(!writeFile(dir.filePath(QStringLiteral("B.V00")), image));
        LogBook book;
        for (const char *name : {"A.V00", "B.V00", "A.V00"}) {
            FlightRecord &r = book.appendRow();
            r.barographFile = name;
        }
        book.row(3).excludedFromStatistics = true;
        std::map<QByteArray, Companion::Analysis> cache;
        const StatisticsInputs first = statisticsInputs(book, dir.path(), cache);
        QCOMPARE(cache.size(), size_t(1)); // one content, analysed once
        QVERIFY(std::abs(first.climbing(1)->biggest - 600) < 10);
        QVERIFY(first.climbing(2) && !first.climbing(3) && first.excluded(3));

        // With the file's stamp in the cache its figures are taken without reading it.
        cache.begin()->second.totalClimb = 12345;
        cache.begin()->second.file = QStringLiteral("A.V00");
        const QFileInfo info(dir.filePath(QStringLiteral("A.V00")));
        cache.begin()->second.size = info.size();
        cache.begin()->second.modified = info.lastModified().toMSecsSinceEpoch();
        QCOMPARE(statisticsInputs(book, dir.path(), cache).climbing(1)->total, 12345.0);
    }

    void aTraceWithoutFlightHasNothing()
    {
        const FlightAnalysis still = analyseFlight(std::vector<float>(600, 500.0f), 2);
        QVERIFY(!still.takeoff && !still.landing && still.climbs.empty() && still.histogram.empty());
        QVERIFY(analyseFlight(std::vector<float>{}, 1).climbs.empty());
    }
};

QTEST_MAIN(TestFlightAnalysis)
#include "tst_flightanalysis.moc"
