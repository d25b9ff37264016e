#include "tools/payload/PayloadTexts.h"

#include "identity/ProductFacts.h"

namespace kv::payload
{
    std::string desktopIniText()
    {
        return "[.ShellClassInfo]\r\n"
               "IconResource=Plugin.ico,0\r\n"
               "IconFile=Plugin.ico\r\n"
               "IconIndex=0\r\n";
    }

    std::string moduleInfoJson()
    {
        const std::string name = product_facts::productName;
        const std::string vendor = product_facts::makerName;
        const std::string version = product_facts::productVersion;

        return "{\n"
               "  \"Name\": \""
               + name + "\",\n"
                        "  \"Version\": \""
               + version + "\",\n"
                           "  \"Factory Info\": {\n"
                           "    \"Vendor\": \""
               + vendor + "\",\n"
                          "    \"URL\": \"https://www.korvane.example\",\n"
                          "    \"E-Mail\": \"support@korvane.example\",\n"
                          "    \"Flags\": {\n"
                          "      \"Unicode\": true,\n"
                          "      \"Classes Discardable\": false,\n"
                          "      \"Component Non Discardable\": false\n"
                          "    }\n"
                          "  },\n"
                          "  \"Compatibility\": [],\n"
                          "  \"Classes\": [\n"
                          "    {\n"
                          "      \"CID\": \"4B5256535452414E444C494E45320001\",\n"
                          "      \"Category\": \"Audio Module Class\",\n"
                          "      \"Name\": \""
               + name + "\",\n"
                        "      \"Vendor\": \""
               + vendor + "\",\n"
                          "      \"Version\": \""
               + version + "\",\n"
                           "      \"SDKVersion\": \"VST 3.7.9\",\n"
                           "      \"Sub Categories\": [\n"
                           "        \"Fx\",\n"
                           "        \"Delay\",\n"
                           "        \"Modulation\"\n"
                           "      ],\n"
                           "      \"Class Flags\": 1,\n"
                           "      \"Cardinality\": 2147483647,\n"
                           "      \"Snapshots\": []\n"
                           "    },\n"
                           "    {\n"
                           "      \"CID\": \"4B5256535452414E444C494E45320002\",\n"
                           "      \"Category\": \"Component Controller Class\",\n"
                           "      \"Name\": \""
               + name + "Controller\",\n"
                        "      \"Vendor\": \""
               + vendor + "\",\n"
                          "      \"Version\": \""
               + version + "\",\n"
                           "      \"SDKVersion\": \"VST 3.7.9\",\n"
                           "      \"Sub Categories\": [],\n"
                           "      \"Class Flags\": 0,\n"
                           "      \"Cardinality\": 2147483647,\n"
                           "      \"Snapshots\": []\n"
                           "    }\n"
                           "  ]\n"
                           "}\n";
    }

} // namespace kv::payload
