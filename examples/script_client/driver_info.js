// Shows a running process driver as any automation client sees it: found by its ProgID,
// its identity, state and channel maps. Run with Wine's script host:
//   wine cscript.exe //nologo driver_info.js
// The script host ends silently when a script throws, so errors are printed here.
try {
  var driver = new ActiveXObject("ProcessDriver.Server");
  WScript.Echo("Name=" + driver.Name);
  WScript.Echo("FileName=" + driver.FileName);
  WScript.Echo("ProjectName=" + driver.ProjectName);
  WScript.Echo("ProjectID=" + driver.ProjectID);
  WScript.Echo("DriverState=" + driver.DriverState);
  WScript.Echo("CycleTime=" + driver.CycleTime);
  var types = [[0, "AIn"], [1, "AOut"], [3, "DIn"], [4, "DOut"]];
  for (var t = 0; t < types.length; t++) {
    var line = types[t][1] + "(" + driver.ChannelCount(types[t][0]) + "):";
    for (var e = new Enumerator(driver.ChannelMaps(types[t][0])); !e.atEnd(); e.moveNext())
      line += " " + e.item().Name;
    WScript.Echo(line);
  }
} catch (x) {
  WScript.Echo("client error 0x" + (x.number >>> 0).toString(16) + " " + x.description);
}
