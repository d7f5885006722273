' => and =< are >= and <=, as >< is <>.
WScript.Echo 3 => 2, 2 =< 2, 1 >< 1 ' expect: -1 -1 0
If 5 => 5 Then WScript.Echo "yes" ' expect: yes
