// Replays the kept fuzz inputs (fuzz/corpus/<target>): the seeds and every input that once found a
// fault, through the same entry the fuzzer calls. In the sanitizer build a fault that comes back is
// a memory error or undefined behaviour reported here; in every build a broken check fails the test.

#include "fuzz/FuzzEntries.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

// fontconfig keeps a few small allocations it never frees once text is drawn; they are not the
// product's.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

namespace fuzzing {

// Names the target in the test's name, rather than its bytes.
void PrintTo(const Target& target, std::ostream* out) {
    *out << target.name;
}

} // namespace fuzzing

namespace {

const QString kCorpus = QStringLiteral(IMPRIX_FUZZ_CORPUS_DIR);

class TheKeptFuzzInputs : public ::testing::TestWithParam<fuzzing::Target> {};

std::string targetName(const ::testing::TestParamInfo<fuzzing::Target>& info) {
    return info.param.name;
}

} // namespace

TEST_P(TheKeptFuzzInputs, runCleanThroughTheirTarget) {
    const fuzzing::Target& target = GetParam();
    const QDir folder(kCorpus + QLatin1Char('/') + QLatin1String(target.name));
    const QStringList names = folder.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(names.isEmpty()) << "no kept inputs in " << folder.path().toStdString();
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_EQ(target.entry(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               static_cast<std::size_t>(bytes.size())),
                  "");
    }
}

INSTANTIATE_TEST_SUITE_P(EveryTarget, TheKeptFuzzInputs, ::testing::ValuesIn(fuzzing::targets()), targetName);

TEST(TheFuzzTargets, takeNoInputAndEveryByteValueWithoutComplaint) {
    const std::uint8_t oneOfEach[] = {0x00, 0x0A, 0x25, 0x7F, 0x80, 0xFF};
    for (const fuzzing::Target& target : fuzzing::targets()) {
        SCOPED_TRACE(target.name);
        EXPECT_EQ(target.entry(nullptr, 0), "");
        EXPECT_EQ(target.entry(oneOfEach, sizeof oneOfEach), "");
    }
}
