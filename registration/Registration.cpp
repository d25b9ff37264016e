#include "registration/Registration.h"

#include "identity/ProductFacts.h"
#include "platform/PlatformFolders.h"
#include "platform/Registry.h"
#include "platform/SelfRemoval.h"

namespace kv::registration
{
    using platform::registry::Value;

    static juce::File& keptInsteadOf()
    {
        static juce::File program;
        return program;
    }

    juce::String detectionKey()
    {
        return juce::String ("SOFTWARE\\") + product_facts::makerName + "\\" + product_facts::productName;
    }

    juce::String uninstallKey()
    {
        return juce::String ("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + product_facts::uninstallKeyName;
    }

    juce::File keptInstallerFolder()
    {
        return platform::fileFromPath (product_facts::keptInstallerFolder);
    }

    juce::File keptInstaller()
    {
        return keptInstallerFolder().getChildFile (juce::String (product_facts::productName) + " Uninstall.exe");
    }

    juce::File installerToKeep()
    {
        return keptInsteadOf() != juce::File() ? keptInsteadOf() : juce::File::getSpecialLocation (juce::File::currentExecutableFile);
    }

    void keepInsteadOfRunningExecutable (const juce::File& program)
    {
        keptInsteadOf() = program;
    }

    juce::String uninstallString()
    {
        return "\"" + keptInstaller().getFullPathName() + "\" /UNINSTALL";
    }

    juce::String quietUninstallString()
    {
        return uninstallString() + " /VERYSILENT /SUPPRESSMSGBOXES /NORESTART";
    }

    static juce::int64 bytesIn (const juce::File& item)
    {
        if (! item.isDirectory())
            return item.getSize();

        juce::int64 total = 0;
        for (const auto& entry : juce::RangedDirectoryIterator (item, true, "*", juce::File::findFiles))
            total += entry.getFileSize();
        return total;
    }

    static bool writeDetection (const InstalledFormats& formats, const juce::String& version)
    {
        std::vector<Value> values { Value::string ("Version", version) };

        for (int i = 0; i < numFormats; ++i)
        {
            const auto& format = formats[(size_t) i];
            const juce::String name (formatTable[i].name);
            values.push_back (Value::dword (name + "Installed", format.installed ? 1u : 0u));
            values.push_back (Value::string (name + "Path", format.installed ? format.bundle.getFullPathName() : juce::String()));
            values.push_back (Value::string (name + "Version", format.installed ? format.version : juce::String()));
        }

        return platform::registry::writeKey (detectionKey(), values);
    }

    static bool keepInstaller()
    {
        const auto kept = keptInstaller();
        const auto program = installerToKeep();

        if (program == kept)
            return true;

        // A copy of the same size is this installer or an earlier one of the product: the
        // entry always uninstalls with the newest that ran.
        if (kept.existsAsFile() && kept.getSize() == program.getSize() && kept.getLastModificationTime() >= program.getLastModificationTime())
            return true;

        if (! kept.getParentDirectory().createDirectory() || ! program.copyFileTo (kept))
            return false;

        // Off Windows a copy must be made runnable; Windows has no such bit and JUCE says false there.
        kept.setExecutePermission (true);
        return true;
    }

    Result update (const InstalledFormats& formats, const juce::String& version)
    {
        Result result;
        juce::int64 bytes = 0;

        for (const auto& format : formats)
        {
            if (! format.installed)
                continue;

            result.anyInstalled = true;
            bytes += bytesIn (format.bundle);
        }

        if (! result.anyInstalled)
        {
            result.detectionWritten = platform::registry::deleteKey (detectionKey());
            result.entryWritten = platform::registry::deleteKey (uninstallKey());

            if (keptInstallerFolder().exists())
                result.keptCopyRemoved = platform::removeFolderAfterExit (keptInstallerFolder());

            return result;
        }

        result.detectionWritten = writeDetection (formats, version);
        result.keptCopyMade = keepInstaller();

        if (! result.keptCopyMade)
        {
            result.entryWritten = false;
            return result;
        }

        const auto kept = keptInstaller().getFullPathName();
        result.entryWritten = platform::registry::writeKey (
            uninstallKey(),
            { Value::string ("DisplayName", product_facts::productName),
              Value::string ("DisplayVersion", version),
              Value::string ("Publisher", product_facts::makerName),
              Value::string ("DisplayIcon", kept + ",0"),
              Value::string ("InstallLocation", keptInstallerFolder().getFullPathName()),
              Value::dword ("EstimatedSize", (juce::uint32) ((bytes + 1023) / 1024)),
              Value::dword ("NoModify", 1),
              Value::dword ("NoRepair", 1),
              Value::string ("UninstallString", uninstallString()),
              Value::string ("QuietUninstallString", quietUninstallString()) });

        return result;
    }
}
