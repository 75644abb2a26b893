#include "casefile/FilmFolder.h"

#include "../support/Cases.h"
#include "../support/TempDir.h"
#include "casefile/BinFile.h"
#include "model/CZor.h"

#include <gtest/gtest.h>

namespace {

TEST(FilmFolder, ListsTheFilmsByNameWithTheirCaseState)
{
    TempDir dir;
    for (const char* name : {"b.JPG", "a.bmp", "C.gif", "notes.txt", "a.bit", "d.png"})
        TempDir::write(dir.file(name), "x");
    CZor zor;
    Cases::upright(zor);
    ASSERT_TRUE(BinFile::WriteLandmarkFile(dir.file("b.bit"), zor));
    TempDir::write(dir.file("C.bit"), "damaged");

    auto films = FilmFolder::list(dir.path(), {"bmp", "jpg", "gif"});
    ASSERT_EQ(films.size(), 3u);
    EXPECT_EQ(films[0].name, "a.bmp");
    EXPECT_EQ(films[1].name, "b.JPG");
    EXPECT_EQ(films[2].name, "C.gif");
    EXPECT_EQ(films[0].hasLandmarks, true);
    EXPECT_FALSE(films[1].detailsRead) << "listing reads no landmark file";
    for (auto& f : films)
        FilmFolder::readDetails(f);
    EXPECT_EQ(films[1].datum, "20030212");
    EXPECT_EQ(films[1].patient, "M\xC3\xBCller, Jos\xC3\xA9");
    EXPECT_TRUE(films[2].hasLandmarks);
    EXPECT_EQ(films[2].patient, "") << "a damaged file gives no details and no message";
    EXPECT_TRUE(films[2].damaged && !films[1].damaged);
    EXPECT_TRUE(FilmFolder::list(dir.file("missing"), {"bmp"}).empty());
}

} // namespace
