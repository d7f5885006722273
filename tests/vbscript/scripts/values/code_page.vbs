' Chr and Asc speak Windows-1252 above 127; ChrW and AscW speak UTF-16.
WScript.Echo Asc(ChrW(8364)), AscW(Chr(128)), Chr(150) = ChrW(8211), Asc(ChrW(8212)) ' expect: 128 8364 -1 151
WScript.Echo Asc("é"), AscW(Chr(233)), Asc(ChrW(256)), AscW(Chr(129)) ' expect: 233 233 63 129
