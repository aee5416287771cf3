-- The database installed beside Corvane.exe as nwcvninfo.dll (an SQLite 3 file).
-- The program never creates tables or the settings row: they come from here.

CREATE TABLE COMPUTER_TBL (
    CMP_ID       INTEGER PRIMARY KEY AUTOINCREMENT,
    CMP_NAME     TEXT NOT NULL,              -- scrambled
    CMP_USERNAME TEXT NOT NULL DEFAULT '',   -- scrambled
    CMP_PASSWORD TEXT NOT NULL DEFAULT ''    -- scrambled
);

CREATE TABLE EXCEPTION_TBL (
    EXP_ID         INTEGER PRIMARY KEY AUTOINCREMENT,
    REGISTRY_KEY   TEXT NOT NULL,
    EXCEPTION_TYPE INTEGER NOT NULL          -- 0 hidden, 1 built-in (shown, protected), 2 the user's
);

CREATE TABLE SETTINGS_TBL (
    SETTINGS_ID     INTEGER PRIMARY KEY,
    GENERAL_OPTIONS INTEGER NOT NULL,
    EXTN            TEXT NOT NULL DEFAULT '',
    COMPUTERS_AT_ONCE INTEGER NOT NULL DEFAULT 8  -- computers scanned and fixed at once, 1 to 32
);

-- Defaults: manual fixing, safe scan (32), a restore point before fixing (4),
-- and abort fixing when that restore point cannot be made (64). The
-- systemwide search looks for .tmp files only: .log files are often
-- transaction logs that their programs still need.
INSERT INTO SETTINGS_TBL (SETTINGS_ID, GENERAL_OPTIONS, EXTN) VALUES (1, 100, '.tmp;');

-- Built-in exceptions. An entry matches every candidate that contains it,
-- ignoring case, so each text below protects everything underneath it.

-- Type 1: shown in the exception dialog, cannot be changed by the user.
-- The component store: every file there is referenced by the servicing stack.
INSERT INTO EXCEPTION_TBL (REGISTRY_KEY, EXCEPTION_TYPE) VALUES ('\Windows\WinSxS\', 1);
-- The .NET global assembly cache: assemblies are registered there, not by path.
INSERT INTO EXCEPTION_TBL (REGISTRY_KEY, EXCEPTION_TYPE) VALUES ('\Windows\assembly\', 1);
-- Windows Installer's cache of packages and patches, needed to repair and remove programs.
INSERT INTO EXCEPTION_TBL (REGISTRY_KEY, EXCEPTION_TYPE) VALUES ('\Windows\Installer\', 1);
-- Windows Installer's product and component registrations under Classes.
INSERT INTO EXCEPTION_TBL (REGISTRY_KEY, EXCEPTION_TYPE) VALUES ('HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Installer', 1);
-- The sample key Windows installs under Image File Execution Options.
INSERT INTO EXCEPTION_TBL (REGISTRY_KEY, EXCEPTION_TYPE) VALUES ('Image File Execution Options\Your Image File Name Here without a path', 1);
-- The driver store: installed driver packages, needed when devices are re-detected.
INSERT INTO EXCEPTION_TBL (REGISTRY_KEY, EXCEPTION_TYPE) VALUES ('\System32\DriverStore\', 1);

-- Type 0: never shown, still honoured by every scan.
-- The registry hives themselves and their transaction logs.
INSERT INTO EXCEPTION_TBL (REGISTRY_KEY, EXCEPTION_TYPE) VALUES ('\System32\config\', 0);
-- Paging, hibernation and swap files at the root of a drive.
INSERT INTO EXCEPTION_TBL (REGISTRY_KEY, EXCEPTION_TYPE) VALUES (':\pagefile.sys', 0);
INSERT INTO EXCEPTION_TBL (REGISTRY_KEY, EXCEPTION_TYPE) VALUES (':\hiberfil.sys', 0);
INSERT INTO EXCEPTION_TBL (REGISTRY_KEY, EXCEPTION_TYPE) VALUES (':\swapfile.sys', 0);
-- Restore points and volume shadow copies live here; they are managed by System Restore.
INSERT INTO EXCEPTION_TBL (REGISTRY_KEY, EXCEPTION_TYPE) VALUES ('\System Volume Information', 0);
-- The shell's folder settings (names, icons) in Recent, Temp and profile folders.
INSERT INTO EXCEPTION_TBL (REGISTRY_KEY, EXCEPTION_TYPE) VALUES ('\desktop.ini', 0);
-- The boot layout the defragmenter and the prefetcher keep in the Prefetch folder.
INSERT INTO EXCEPTION_TBL (REGISTRY_KEY, EXCEPTION_TYPE) VALUES ('\Prefetch\Layout.ini', 0);
