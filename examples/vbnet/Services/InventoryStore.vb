Imports System.Collections.Generic

#Region "库存存储"
Public Class InventoryStore

    Private ReadOnly list As New List(Of InventoryItem)()

    ''' <summary>全部条目，按加入顺序。</summary>
    Public ReadOnly Property Items As IReadOnlyList(Of InventoryItem)
        Get
            Return list
        End Get
    End Property

    Public Sub Add(item As InventoryItem)
        list.Add(item) ' 不检查重名
    End Sub

End Class
#End Region
