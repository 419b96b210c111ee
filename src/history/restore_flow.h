#pragma once

struct MemoryBackup;
class WindowRegistry;

// "Restaurer": the backup's known bytes back onto the panel on the open port,
// through the write of the window whose range it holds, after the question of
// what will change and with a backup of the panel first; then every restored
// byte read back and compared, and the editor showing what was read.
void restoreBackup(WindowRegistry &registry, const MemoryBackup &backup);
