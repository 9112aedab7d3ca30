// The page for the printer and the marker file, and where the desktop is.
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/fatal.h"
#include "app/quit_signal.h"
#include "app/services.h"
#include "game/desktop_files.h"
#include "game/desktop_folder.h"
#include "game/world.h"
#include "tests/game/game_fixture.h"

namespace {
std::string text(const std::vector<uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// The class letters of the page's squares, row by row.
std::vector<std::string> pictureRows(const std::string& page) {
    std::vector<std::string> rows;
    size_t at = 0;
    while ((at = page.find("<tr>", at)) != std::string::npos) {
        const size_t end = page.find("</tr>", at);
        std::string row;
        for (size_t cell = page.find("<td class=\"", at); cell < end;
             cell = page.find("<td class=\"", cell + 1)) {
            row += page[cell + 11];
        }
        rows.push_back(row);
        at = end;
    }
    return rows;
}
} // namespace

class DesktopFiles : public GameFixture {};

TEST_F(DesktopFiles, ThePageIsOneLineWhoseSquaresHideAPictureForPaper) {
    const std::string page = printPageText();
    ASSERT_EQ(page.compare(0, 4, "<!--"), 0);
    const size_t afterComment = page.find("-->") + 3;
    EXPECT_NE(page.substr(0, afterComment).find("20"), std::string::npos) << "the notice carries a year";
    EXPECT_EQ(page.size() - afterComment, 6755u);
    EXPECT_EQ(page.find_first_of("\n\r\t\\"), std::string::npos);
    EXPECT_EQ(page.find("> "), std::string::npos) << "no white space between elements";
    const std::string head =
        "<html><head><title></title><style type=\"text/css\">.a{border:20px solid #ffffff}.b{border:20px "
        "solid #ffffff}.c{border:20px solid #000000}@media screen{.b{border:20px solid "
        "#000000}}</style></head>"
        "<body><table cellpadding=\"0\" cellspacing=\"0\">";
    EXPECT_EQ(page.substr(afterComment, head.size()), head);
    EXPECT_EQ(page.substr(page.size() - 22), "</table></body></html>");

    const std::vector<std::string> rows = pictureRows(page);
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows[0], "aaaaaaaaaaaaaaaabbcccccccbbb");
    EXPECT_EQ(rows[11], "bcbbbbbbaaaaaaaabbbccccccbbb");
    // On screen everything but the a squares is black: three white rectangles of 16 x 4, 4 x 4 and
    // 8 x 4 squares.
    int white = 0;
    for (int r = 0; r < 12; ++r) {
        ASSERT_EQ(rows[r].size(), 28u);
        for (int c = 0; c < 28; ++c) {
            const bool inRectangle =
                (r < 4 && c < 16) || (r >= 4 && r < 8 && c >= 20 && c < 24) || (r >= 8 && c >= 8 && c < 16);
            EXPECT_EQ(rows[r][c] == 'a', inRectangle) << r << "," << c;
            white += rows[r][c] == 'a';
        }
    }
    EXPECT_EQ(white, 64 + 16 + 32);
}

TEST_F(DesktopFiles, OnlyAvatarZeroLeavingWritesThemAndNeitherIsEverOverwritten) {
    World& world = newWorld(1);
    const std::string printFile = desktop() + "/print_me.html";
    for (int p = 0; p < kRoomCount; ++p) {
        world.avatarLeft(p);
    }
    world.avatarLeft(7);
    EXPECT_FALSE(std::filesystem::exists(printFile));
    EXPECT_FALSE(std::filesystem::exists(path("delete_me.html")));

    world.avatarLeft(-1);
    const std::string page = printPageText();
    std::vector<uint8_t> expected(page.begin(), page.end());
    expected.push_back(0);
    EXPECT_EQ(readWholeFile(printFile), expected);
    EXPECT_EQ(text(readWholeFile(path("delete_me.html"))), std::string("...", 4));
    EXPECT_EQ(gameMode, kModeMessage) << "only because the scratch folder has no pictures";

    writeWholeFile(printFile, {'m', 'i', 'n', 'e'});
    writeWholeFile(path("delete_me.html"), {'o', 'l', 'd'});
    world.avatarLeft(-1);
    EXPECT_EQ(text(readWholeFile(printFile)), "mine");
    EXPECT_EQ(text(readWholeFile(path("delete_me.html"))), "old");
}

TEST_F(DesktopFiles, AMissingHomeOrAnUnwritableDesktopEndsPlayWithAMessage) {
    unsetenv("HOME");
    messageText.clear();
    writePrintFile();
    EXPECT_NE(messageText.find("missing environment variable:\nhome"), std::string::npos);
    EXPECT_EQ(readWholeFile(path("print_me.html")).size(), printPageText().size() + 1)
        << "the page goes to the working directory instead";

    setenv("HOME", path("nowhere").c_str(), 1);
    messageText.clear();
    writePrintFile();
    writeMarkerFile();
    EXPECT_NE(messageText.find("can not save to desktop"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(path("delete_me.html"))) << "the marker is still written";

    // A desktop that exists but cannot be written to.
    setenv("HOME", home().c_str(), 1);
    chmod(desktop().c_str(), 0500);
    messageText.clear();
    writePrintFile();
    const bool refused = !std::filesystem::exists(desktop() + "/print_me.html");
    chmod(desktop().c_str(), 0700);
    if (refused) {
        EXPECT_NE(messageText.find("can not save to desktop"), std::string::npos);
    } else {
        EXPECT_EQ(messageText, "") << "a user allowed to write there anyway gets the page";
    }
}

TEST_F(DesktopFiles, TheDesktopIsFoundInTheProfileTheXdgDirectoriesOrTheHomeFolder) {
    std::string folder;
    ASSERT_TRUE(findDesktopFolder(folder));
    EXPECT_EQ(folder, home() + "/Desktop/");
    EXPECT_EQ(desktopPath(), home() + "/Desktop/print_me.html");

    std::filesystem::create_directories(home() + "/.config");
    writeWholeFile(home() + "/.config/user-dirs.dirs",
                   std::vector<uint8_t>(std::begin("# written by xdg-user-dirs-update\n"
                                                   "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n"
                                                   "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"),
                                        std::end("# written by xdg-user-dirs-update\n"
                                                 "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n"
                                                 "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n") -
                                            1));
    ASSERT_TRUE(findDesktopFolder(folder));
    EXPECT_EQ(folder, home() + "/Schreibtisch/");

    std::filesystem::create_directories(path("config"));
    writeWholeFile(path("config/user-dirs.dirs"), {'X', 'D', 'G', '_', 'D', 'E', 'S', 'K', 'T', 'O', 'P',
                                                   '_', 'D', 'I', 'R', '=', '"', '/', 'd', '"', '\n'});
    setenv("XDG_CONFIG_HOME", path("config").c_str(), 1);
    ASSERT_TRUE(findDesktopFolder(folder));
    EXPECT_EQ(folder, "/d/");

    setenv("XDG_DESKTOP_DIR", "/from/environment", 1);
    ASSERT_TRUE(findDesktopFolder(folder));
    EXPECT_EQ(folder, "/from/environment/");

    setenv("USERPROFILE", "C:/Users/someone", 1);
    ASSERT_TRUE(findDesktopFolder(folder));
    EXPECT_EQ(folder, "C:/Users/someone/Desktop/");
    unsetenv("HOME");
    EXPECT_TRUE(findDesktopFolder(folder)) << "the profile alone is enough";
    unsetenv("USERPROFILE");
    EXPECT_FALSE(findDesktopFolder(folder));

    std::string value;
    EXPECT_TRUE(parseDesktopDirLine("XDG_DESKTOP_DIR=\"$HOME/\"", "/h", value));
    EXPECT_EQ(value, "/h/");
    EXPECT_FALSE(parseDesktopDirLine("# XDG_DESKTOP_DIR=\"/x\"", "/h", value));
    EXPECT_FALSE(parseDesktopDirLine("XDG_DESKTOP_DIRECTORY=\"/x\"", "/h", value));
    EXPECT_FALSE(parseDesktopDirLine("XDG_DESKTOP_DIR=\"\"", "/h", value));
}

// Whatever already sits at the page's name is the player's and stays: a page they cannot read, a FIFO
// (which an open would wait on for ever) or a link leading nowhere (through which a plain write would
// create a file somewhere else).
TEST_F(DesktopFiles, AnythingAlreadyNamedLikeThePageIsLeftAlone) {
    const std::string page = desktop() + "/print_me.html";
    ASSERT_TRUE(writeWholeFile(page, {'m', 'i', 'n', 'e'}));
    ASSERT_EQ(chmod(page.c_str(), 0200), 0);
    messageText.clear();
    writePrintFile();
    chmod(page.c_str(), 0600);
    EXPECT_EQ(text(readWholeFile(page)), "mine");
    EXPECT_EQ(messageText, "");

    ASSERT_EQ(unlink(page.c_str()), 0);
    ASSERT_EQ(mkfifo(page.c_str(), 0600), 0);
    writePrintFile();
    struct stat info;
    ASSERT_EQ(lstat(page.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));

    ASSERT_EQ(unlink(page.c_str()), 0);
    ASSERT_EQ(symlink(path("elsewhere.html").c_str(), page.c_str()), 0);
    writePrintFile();
    EXPECT_FALSE(std::filesystem::exists(path("elsewhere.html"))) << "the page was written through the link";
    EXPECT_EQ(messageText, "");

    // The marker goes the same way.
    ASSERT_EQ(symlink(path("elsewhere-marker").c_str(), path("delete_me.html").c_str()), 0);
    writeMarkerFile();
    EXPECT_FALSE(std::filesystem::exists(path("elsewhere-marker")));
    EXPECT_TRUE(fileExists(path("delete_me.html"))) << "a dangling link exists";
    EXPECT_FALSE(fileExists(path("nothing-here")));
}

// The user directories file is read only when it is a regular file, and only so far: a FIFO, an
// endless device or a huge file gives the home folder's Desktop at once.
TEST_F(DesktopFiles, AUserDirsFileThatIsNoOrdinaryFileIsPassedOver) {
    std::filesystem::create_directories(home() + "/.config");
    const std::string dirs = home() + "/.config/user-dirs.dirs";
    std::string folder;
    ASSERT_EQ(mkfifo(dirs.c_str(), 0600), 0);
    ASSERT_TRUE(findDesktopFolder(folder));
    EXPECT_EQ(folder, home() + "/Desktop/");

    ASSERT_EQ(unlink(dirs.c_str()), 0);
    ASSERT_EQ(symlink("/dev/zero", dirs.c_str()), 0);
    ASSERT_TRUE(findDesktopFolder(folder));
    EXPECT_EQ(folder, home() + "/Desktop/");

    // An assignment within the first 64 KiB counts; one beyond is never read.
    ASSERT_EQ(unlink(dirs.c_str()), 0);
    std::string content = "XDG_DESKTOP_DIR=\"/near\"\n";
    content += std::string(70 * 1024, '#') + "\nXDG_DESKTOP_DIR=\"/far\"\n";
    ASSERT_TRUE(writeWholeFile(dirs, std::vector<uint8_t>(content.begin(), content.end())));
    ASSERT_TRUE(findDesktopFolder(folder));
    EXPECT_EQ(folder, "/near/");
}

// A run killed while writing leaves only the hidden temporary files; the next win removes them and
// writes both files whole.
TEST_F(DesktopFiles, TemporaryFilesLeftByAKilledRunGiveWayToWholeFiles) {
    ASSERT_TRUE(writeWholeFile(desktop() + "/.print_me.html.part", std::vector<uint8_t>(4096, '<')));
    ASSERT_TRUE(writeWholeFile(path(".delete_me.html.part"), {'.'}));
    messageText.clear();
    writePrintFile();
    writeMarkerFile();
    EXPECT_EQ(messageText, "");
    EXPECT_EQ(readWholeFile(desktop() + "/print_me.html").size(), printPageText().size() + 1);
    EXPECT_EQ(text(readWholeFile(path("delete_me.html"))), std::string("...", 4));
    EXPECT_FALSE(fileExists(desktop() + "/.print_me.html.part"));
    EXPECT_FALSE(fileExists(path(".delete_me.html.part")));
}

// A file-size limit (ulimit -f) used to end the game by SIGXFSZ half-way through the page, leaving a
// cut-off page that blocked every later one. With the game's own signal handling, each limit ends in
// the message instead, with neither the page nor its temporary file left. The write runs in a child
// process, since the limit and the signal are the process's.
TEST_F(DesktopFiles, AFileSizeLimitEndsInTheMessageAndLeavesNoPage) {
    const std::string page = desktop() + "/print_me.html";
    for (rlim_t limit : {0, 1024, 4096}) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            catchEndingSignals();
            struct rlimit fileSize;
            getrlimit(RLIMIT_FSIZE, &fileSize);
            fileSize.rlim_cur = limit;
            setrlimit(RLIMIT_FSIZE, &fileSize);
            messageText.clear();
            writePrintFile();
            writeMarkerFile();
            _exit(messageText.find("can not save to desktop") != std::string::npos ? 0 : 3);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status)) << "limit " << limit << ": ended by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 0) << "limit " << limit << ": no message";
        EXPECT_FALSE(fileExists(page)) << "limit " << limit;
        EXPECT_FALSE(fileExists(desktop() + "/.print_me.html.part")) << "limit " << limit;
        // Four bytes pass every limit but 0, which fails silently.
        EXPECT_EQ(fileExists(path("delete_me.html")), limit > 0) << "limit " << limit;
        EXPECT_FALSE(fileExists(path(".delete_me.html.part"))) << "limit " << limit;
    }
}

// A desktop on a full disk: a 4 KiB file system mounted over it (only root may mount; others skip).
TEST_F(DesktopFiles, AFullDiskEndsInTheMessageAndLeavesNoPage) {
    if (mount("tavok-full", desktop().c_str(), "tmpfs", 0, "size=4k") != 0) {
        GTEST_SKIP() << "cannot mount a small file system here";
    }
    messageText.clear();
    writePrintFile();
    const bool pageLeft = fileExists(desktop() + "/print_me.html");
    const bool temporaryLeft = fileExists(desktop() + "/.print_me.html.part");
    umount2(desktop().c_str(), MNT_DETACH);
    EXPECT_NE(messageText.find("can not save to desktop"), std::string::npos);
    EXPECT_FALSE(pageLeft);
    EXPECT_FALSE(temporaryLeft);
}
