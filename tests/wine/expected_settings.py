#!/usr/bin/env python3
"""Prints the settings file a Windows start writes with the default folders, spelled out
from the shared layout's rules (header, empty line, attributes wrapped after 60 characters
with 24 spaces of indent, CRLF line ends)."""
import sys

note = ("These are the paths that all Korvane installers will use for their respective formats. "
        "Edit them to personal taste, but keep in mind that some formats have specific homes. "
        "Use this feature at your own risk; follow the naming and separator conventions exactly as you see them, "
        "or you could end up with unintended consequences. If you delete this file, the next time you run the "
        "Plugin Manager for any KV product, a new one with the default locations will be written.")
common = "C:\\Program Files\\Common Files\\"
attributes = [("Important_Note:", note), ("CLAP_Path", common + "CLAP"), ("VST3_Path", common + "VST3"),
              ("AAX_Path", common + "Avid\\Audio\\Plug-Ins")]

text = '<?xml version="1.0" encoding="UTF-8"?>\r\n\r\n<Plugin_Manager_Settings'
on_line = 0
for name, value in attributes:
    if on_line > 60:
        text += "\r\n" + " " * 24
        on_line = 0
    written = f' {name}="{value}"'
    text += written
    on_line += len(written)
text += "/>\r\n"
sys.stdout.write(text)
