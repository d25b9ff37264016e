#include "command_line/CommandLine.h"

#include "identity/Formats.h"
#include "platform/PlatformFolders.h"

namespace kv::command_line
{
    juce::StringArray splitArguments (const juce::String& commandLine)
    {
        juce::StringArray arguments;
        juce::String current;
        bool inQuotes = false, any = false;

        for (auto c : commandLine)
        {
            if (c == '"')
            {
                inQuotes = ! inQuotes;
                any = true;
            }
            else if (! inQuotes && juce::CharacterFunctions::isWhitespace (c))
            {
                if (any)
                    arguments.add (current);
                current.clear();
                any = false;
            }
            else
            {
                current += juce::String::charToString (c);
                any = true;
            }
        }

        if (any)
            arguments.add (current);

        return arguments;
    }

    bool isUsableFolder (const juce::String& path)
    {
        return path.isNotEmpty() && platform::fileFromPath (path) != juce::File();
    }

    static bool readComponents (const juce::String& value, Options& options)
    {
        options.formats.fill (false);
        bool any = false;

        for (const auto& token : juce::StringArray::fromTokens (value, ",", {}))
        {
            const auto name = token.trim();
            const auto index = formatNames.indexOf (name, true);

            if (index < 0)
            {
                options.invalidReason = name.isEmpty() ? juce::String ("an empty format name") : "no format is named \"" + name + "\" (" + formatNames.joinIntoString (", ").toLowerCase() + ")";
                return false;
            }

            options.formats[(size_t) index] = true;
            any = true;
        }

        if (! any)
            options.invalidReason = "no format is named";

        return any;
    }

    static void invalid (Options& options, const juce::String& argument, const juce::String& reason)
    {
        if (options.invalidArgument.isEmpty())
        {
            options.invalidArgument = argument;
            options.invalidReason = reason;
        }
    }

    Options parse (const juce::StringArray& arguments)
    {
        Options options;

        for (const auto& argument : arguments)
        {
            if (! (argument.startsWithChar ('/') || argument.startsWithChar ('-')))
            {
                options.unknown.add (argument);
                continue;
            }

            const auto body = argument.substring (1);
            const auto hasValue = body.containsChar ('=');
            const auto name = (hasValue ? body.upToFirstOccurrenceOf ("=", false, false) : body).toUpperCase();
            const auto value = body.fromFirstOccurrenceOf ("=", false, false).trim();

            if (! hasValue && (name == "VERYSILENT" || name == "SILENT"))
                options.silent = true;
            else if (! hasValue && (name == "SUPPRESSMSGBOXES" || name == "SP-" || name == "NORESTART"))
                continue; // nothing here ever asks, and nothing restarts Windows
            else if (! hasValue && name == "UNINSTALL")
                options.uninstall = true;
            else if (! hasValue && name == "ALLOWDOWNGRADE")
                options.allowDowngrade = true;
            else if (name == "LOG")
            {
                options.log = true;
                options.logPath = value;

                if (hasValue && ! isUsableFolder (value))
                    invalid (options, argument, "the log needs a full path");
            }
            else if (hasValue && name == "COMPONENTS")
            {
                Options parsed;
                if (readComponents (value, parsed))
                    options.formats = parsed.formats;
                else
                    invalid (options, argument, parsed.invalidReason);
            }
            else if (hasValue && name.endsWith ("DIR") && formatNames.contains (name.dropLastCharacters (3), true))
            {
                const auto index = formatNames.indexOf (name.dropLastCharacters (3), true);

                if (isUsableFolder (value))
                    options.destinations[(size_t) index] = value;
                else
                    invalid (options, argument, value.isEmpty() ? "the folder is empty" : "the folder is not a full path");
            }
            else
                options.unknown.add (argument);
        }

        return options;
    }
}
