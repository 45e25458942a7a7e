// Immunity against autorun files: the per-user autorun policy, and a hidden
// AUTORUN.INF folder on the root of every removable and fixed drive so that no
// autorun file of that name can be written there. Everything runs on the
// user-interface thread; what goes wrong is shown by the operation itself or
// passes in silence, so nothing returns a result.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class DrivePlatform;

// The autorun policy: one bit per drive type, a set bit switches autorun off.
constexpr char AutorunPolicyKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr char AutorunPolicyValue[] = "NoDriveTypeAutoRun";
// Off for unknown, no-root, removable, fixed, network and further types.
constexpr DWORD UsbAutorunOff = 0x9F;
// Off for unknown, network and further types only.
constexpr DWORD UsbAutorunOn = 0x91;

// The immunity folder on a root, and what it holds.
constexpr char ImmunityFolderName[] = "AUTORUN.INF";
// Handed to the platform exactly so, two dots and the final backslash
// included: trimming either would name a different folder.
constexpr char GuardFolderName[] = "\\morvane..\\";
constexpr char ReadMeFileName[] = "\\ReadMe.txt";

// The alarm sound: wave resource 167 of the program, played asynchronously.
void PlayAlarmSound();

// Where the immunity operations act. The default is the real computer: the
// removable and fixed drives present now and the current user's policy key.
struct ImmunityScope {
    // Drive roots ("E:\"), in the order they are treated.
    std::vector<std::string> roots;
    HKEY policyRoot = HKEY_CURRENT_USER;
    std::string policyKey = AutorunPolicyKey;
    // Played when an autorun file has been deleted; none when empty.
    std::function<void()> alarm = PlayAlarmSound;
};

ImmunityScope ComputerImmunityScope();

// Roots of the removable (2) and fixed (3) drives, lowest letter first; A and
// B included, every other type left out.
std::vector<std::string> ImmunityDriveRoots(const DrivePlatform& platform);

// Makes every drive of the scope immune, switches USB autorun off and tells
// the user so.
void AcquireImmunity();
void AcquireImmunity(const ImmunityScope& scope);
// Takes the immunity folders away again, switches USB autorun back on and
// tells the user so.
void CancelImmunity();
void CancelImmunity(const ImmunityScope& scope);

// One drive root R ("E:\"). An autorun file there is deleted with a warning;
// an existing AUTORUN.INF folder counts as immune and is left alone.
void ImmunizeDrive(const std::string& root);
void ImmunizeDrive(const std::string& root, const std::function<void()>& alarm);
// Removes what ImmunizeDrive made on R (an autorun file there is deleted with
// a warning). A ReadMe.txt is deleted only when it holds the program's own
// text; folders are removed only when empty.
void CancelDriveImmunity(const std::string& root);
void CancelDriveImmunity(const std::string& root, const std::function<void()>& alarm);

// Write UsbAutorunOff / UsbAutorunOn as a REG_DWORD into the policy value. The
// key is opened, never created; when it cannot be opened, or the value cannot
// be written, the registry error box is shown.
void DisableUsbAutorun();
void DisableUsbAutorun(HKEY root, const std::string& key);
void EnableUsbAutorun();
void EnableUsbAutorun(HKEY root, const std::string& key);

// The registry error box's text (a fixed text, not in the string table).
extern const char RegistryAccessErrorText[];
