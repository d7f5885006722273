' WScript.Shell: programs with their exit codes and output, the environment, the folder.
Set sh = CreateObject("WScript.Shell")
WScript.Echo TypeName(sh) ' expect: IWshShell3
Set ex = sh.Exec("printf ""one\ntwo\n""")
WScript.Echo ex.StdOut.ReadLine() ' expect: one
WScript.Echo ex.StdOut.ReadAll() ' expect: two
' expect:
WScript.Echo ex.Status, ex.ExitCode ' expect: 1 0
WScript.Echo sh.Run("sh -c ""exit 3""", 0, True) ' expect: 3
sh.Environment("PROCESS")("VORNIX_TEST_VALUE") = "from the script"
WScript.Echo sh.ExpandEnvironmentStrings("[%VORNIX_TEST_VALUE%] [%NO_SUCH_VARIABLE_X%]") ' expect: [from the script] [%NO_SUCH_VARIABLE_X%]
WScript.Echo sh.Environment("PROCESS")("VORNIX_TEST_VALUE") ' expect: from the script
sh.Run "sh -c ""mkdir made""", 0, True
sh.CurrentDirectory = "made"
WScript.Echo Right(sh.CurrentDirectory, 5) ' expect: /made
On Error Resume Next
sh.Run "no-such-program-vornix"
WScript.Echo Err.Number ' expect: 53
Set nothingThere = CreateObject("No.Such.Class")
WScript.Echo Err.Number, Err.Description ' expect: 429 ActiveX component can't create object
